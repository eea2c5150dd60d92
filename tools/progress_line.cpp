// SPDX-License-Identifier: GPL-3.0-or-later
#include "progress_line.h"

#include <cmath>

#include "core/number_text.h"

namespace dispfit {

namespace {

// A tenth of a second: the line keeps up with the eye and costs nothing.
constexpr auto kShownEvery = std::chrono::milliseconds(100);

}  // namespace

std::string progressText(const SearchProgress& progress, MisfitKind kind, double elapsedSeconds) {
  std::string text =
      std::to_string(progress.done) + " of " + std::to_string(progress.total) + " models, best " +
      misfitName(kind) + " " +
      (std::isfinite(progress.bestMisfit) ? figureText(progress.bestMisfit, Figure::Misfit)
                                          : std::string("none yet")) +
      ", " + std::to_string(progress.accepted) + " accepted";
  if (progress.done > 0 && progress.done < progress.total) {
    const double left = elapsedSeconds * static_cast<double>(progress.total - progress.done) /
                        static_cast<double>(progress.done);
    text += ", " + std::to_string(static_cast<long long>(std::ceil(left))) + " s left";
  }
  return text;
}

ProgressLine::ProgressLine(std::ostream& out, bool shown, MisfitKind kind)
    : out_(out), shown_(shown), kind_(kind), start_(Clock::now()), lastShown_(start_) {}

void ProgressLine::update(const SearchProgress& progress) {
  if (!shown_) return;
  const Clock::time_point now = Clock::now();
  if (written_ && now - lastShown_ < kShownEvery && progress.done < progress.total) return;
  lastShown_ = now;
  const double elapsed = std::chrono::duration<double>(now - start_).count();
  std::string text = progressText(progress, kind_, elapsed);
  const std::size_t width = text.size();
  if (width < width_) text.append(width_ - width, ' ');
  width_ = width;
  out_ << '\r' << text << std::flush;
  written_ = true;
}

void ProgressLine::finish() {
  if (shown_ && written_) out_ << '\n' << std::flush;
}

}  // namespace dispfit
