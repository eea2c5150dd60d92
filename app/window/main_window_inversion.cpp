// The main window's invert command. The solve lets pending window messages
// run, so the window repaints; meanwhile the commands and the model group
// are disabled, a second click cannot start a second solve, and a close
// waits until the solve has ended and its outcome has been shown.
#include <QCloseEvent>
#include <QCoreApplication>
#include <utility>

#include "inversion/window_inversion.h"
#include "window/tform1.h"

namespace dispfit {

namespace {

// Runs an action when the scope is left, also by an exception.
template <typename Action>
class OnScopeExit {
 public:
  explicit OnScopeExit(Action action) : action_(std::move(action)) {}
  OnScopeExit(const OnScopeExit&) = delete;
  OnScopeExit& operator=(const OnScopeExit&) = delete;
  ~OnScopeExit() { action_(); }

 private:
  Action action_;
};

}  // namespace

void TForm1::Button2Click() {
  if (inversionRunning_) return;

  WindowInversionOutcome outcome;
  {
    inversionRunning_ = true;
    setCommandsEnabled(false);
    const OnScopeExit done([this] {
      setCommandsEnabled(true);
      inversionRunning_ = false;
    });
    const InversionWindowData arrays{layerCount, vs, thickness, density, freqCount, freq, vr};
    outcome = invertWindowCurve(arrays, engine_, [] { QCoreApplication::processEvents(); });
  }
  presentInversionOutcome(outcome, messages_);

  if (closeDeferred_) {
    closeDeferred_ = false;
    close();
  }
}

void TForm1::closeEvent(QCloseEvent* event) {
  if (inversionRunning_) {
    closeDeferred_ = true;
    event->ignore();
    return;
  }
  QWidget::closeEvent(event);
}

}  // namespace dispfit
