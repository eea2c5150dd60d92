// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/column_names.h"

#include <algorithm>
#include <cctype>

namespace swcore {

namespace {

// Lower case, underscores as blanks, no blanks at either end and single
// blanks inside.
std::string normalised(std::string_view text) {
  std::string result;
  bool blank = false;
  for (const char raw : text) {
    const char c =
        raw == '_' ? ' ' : static_cast<char>(std::tolower(static_cast<unsigned char>(raw)));
    if (c == ' ' || c == '\t') {
      blank = !result.empty();
      continue;
    }
    if (blank) {
      result += ' ';
      blank = false;
    }
    result += c;
  }
  return result;
}

std::string withoutBlanks(std::string_view text) {
  std::string result;
  std::copy_if(text.begin(), text.end(), std::back_inserter(result),
               [](char c) { return c != ' '; });
  return result;
}

struct HeaderField {
  std::string name;
  std::string unit;  // empty when none is given
  bool unitClosed = true;
};

HeaderField splitHeaderField(std::string_view field) {
  HeaderField result;
  const std::size_t open = field.find_first_of("([");
  if (open == std::string_view::npos) {
    result.name = normalised(field);
    return result;
  }
  const char close = field[open] == '(' ? ')' : ']';
  const std::size_t end = field.find(close, open);
  result.name = normalised(field.substr(0, open));
  result.unitClosed = end != std::string_view::npos && normalised(field.substr(end + 1)).empty();
  result.unit = withoutBlanks(normalised(field.substr(open + 1, end - open - 1)));
  return result;
}

bool contains(std::span<const std::string_view> list, std::string_view item) {
  return std::find(list.begin(), list.end(), item) != list.end();
}

std::string knownNames(std::span<const ColumnDefinition> definitions) {
  std::string names;
  for (const ColumnDefinition& definition : definitions) {
    names += names.empty() ? "" : ", ";
    names += definition.name;
  }
  return names;
}

}  // namespace

bool matchColumns(const std::vector<std::string>& header,
                  std::span<const ColumnDefinition> definitions, std::vector<std::size_t>& columnOf,
                  std::string& what) {
  columnOf.assign(definitions.size(), kNoColumn);
  for (std::size_t column = 0; column < header.size(); ++column) {
    const std::string& written = header[column];
    const HeaderField field = splitHeaderField(written);
    const auto definition =
        std::find_if(definitions.begin(), definitions.end(),
                     [&](const ColumnDefinition& d) { return contains(d.spellings, field.name); });
    if (definition == definitions.end()) {
      what = "the header names a column \"" + written + "\"; the columns of this table are " +
             knownNames(definitions);
      return false;
    }
    const auto k = static_cast<std::size_t>(definition - definitions.begin());
    if (columnOf[k] != kNoColumn) {
      what = "the header names the " + std::string(definition->name) + " column twice";
      return false;
    }
    if (!field.unitClosed || (!field.unit.empty() && !contains(definition->units, field.unit))) {
      const std::string_view unit =
          definition->units.empty() ? "no unit" : definition->units.front();
      what = "\"" + written + "\": the " + std::string(definition->name) + " column takes " +
             std::string(unit);
      return false;
    }
    columnOf[k] = column;
  }
  return true;
}

}  // namespace swcore
