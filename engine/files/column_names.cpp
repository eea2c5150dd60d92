// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/column_names.h"

#include <algorithm>
#include <cctype>

#include "files/line_message.h"

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

std::string joined(const std::vector<std::string>& fields) {
  std::string text;
  for (const std::string& field : fields) {
    text += text.empty() ? "" : ", ";
    text += field;
  }
  return text;
}

std::string unitList(std::span<const std::string_view> units) {
  std::string text;
  for (std::size_t i = 0; i < units.size(); ++i) {
    text += i == 0 ? "" : (i + 1 == units.size() ? " or " : ", ");
    text += units[i];
  }
  return text;
}

}  // namespace

bool unitFactor(std::string_view written, const ColumnDefinition& definition, double& factor,
                std::string& what) {
  const HeaderField field = splitHeaderField(written);
  factor = 1.0;
  if (field.unitClosed && field.unit.empty()) return true;
  const auto unit = std::find(definition.units.begin(), definition.units.end(), field.unit);
  if (!field.unitClosed || unit == definition.units.end()) {
    what = '"';
    what += written;
    what += "\": the ";
    what += definition.name;
    what += " column takes ";
    what += definition.units.empty() ? std::string("no unit") : unitList(definition.units);
    return false;
  }
  const auto index = static_cast<std::size_t>(unit - definition.units.begin());
  if (index < definition.unitFactors.size()) factor = definition.unitFactors[index];
  return true;
}

bool namesColumn(std::string_view field, const ColumnDefinition& definition) {
  return contains(definition.spellings, splitHeaderField(field).name);
}

bool namesField(std::string_view chosen, std::string_view field) {
  const HeaderField name = splitHeaderField(chosen);
  const HeaderField written = splitHeaderField(field);
  return name.name == written.name && (name.unit.empty() || name.unit == written.unit);
}

std::string acceptedNames(std::span<const ColumnDefinition> definitions) {
  std::string names;
  for (const ColumnDefinition& definition : definitions) {
    names += names.empty() ? "" : ", ";
    names += std::string(definition.name) + " (";
    for (std::size_t i = 0; i < definition.spellings.size(); ++i) {
      names += i == 0 ? "" : ", ";
      names += definition.spellings[i];
    }
    names += ')';
  }
  return names;
}

bool matchColumns(const std::vector<std::string>& header,
                  std::span<const ColumnDefinition> definitions, std::vector<std::size_t>& columnOf,
                  std::vector<double>& factorOf, std::string& what) {
  columnOf.assign(definitions.size(), kNoColumn);
  factorOf.assign(definitions.size(), 1.0);
  for (std::size_t column = 0; column < header.size(); ++column) {
    const std::string& written = header[column];
    const auto definition =
        std::find_if(definitions.begin(), definitions.end(),
                     [&](const ColumnDefinition& d) { return namesColumn(written, d); });
    if (definition == definitions.end()) {
      what = "the header names a column " + quoted(written) +
             " that this table does not know (the header reads " + quoted(joined(header)) +
             "); its columns are " + acceptedNames(definitions);
      return false;
    }
    const auto k = static_cast<std::size_t>(definition - definitions.begin());
    if (columnOf[k] != kNoColumn) {
      what = "the header names the " + std::string(definition->name) + " column twice";
      return false;
    }
    if (!unitFactor(written, *definition, factorOf[k], what)) return false;
    columnOf[k] = column;
  }
  return true;
}

bool matchColumns(const std::vector<std::string>& header,
                  std::span<const ColumnDefinition> definitions, std::vector<std::size_t>& columnOf,
                  std::string& what) {
  std::vector<double> factorOf;
  return matchColumns(header, definitions, columnOf, factorOf, what);
}

}  // namespace swcore
