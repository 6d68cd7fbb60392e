#include "script_line.h"

#include <charconv>
#include <cmath>
#include <sstream>

namespace rowtint::script {
namespace {
std::string Plural(std::size_t n, const char* word) { return std::to_string(n) + " " + word + (n == 1 ? "" : "s"); }

std::string Shown(double value) {
  std::ostringstream out;
  out << value;
  return out.str();
}
}  // namespace

ScriptLine::ScriptLine(const std::string& text) : text_(text.substr(0, text.find('#'))) {
  std::istringstream in(text_);
  for (std::string w; in >> w;) words_.push_back(w);
}

void ScriptLine::Fail(const std::string& why) const { throw ScriptError("'" + Command() + "' " + why); }

const std::string& ScriptLine::Word(std::size_t i) const {
  if (i >= words_.size()) Fail("needs more arguments");
  return words_[i];
}

void ScriptLine::ExpectArguments(std::size_t min, std::size_t max) const {
  const std::size_t n = Arguments();
  if (n >= min && n <= max) return;
  if (min == max) Fail("takes " + Plural(min, "argument") + ", not " + std::to_string(n));
  if (n < min) Fail("takes at least " + Plural(min, "argument") + ", not " + std::to_string(n));
  Fail("takes at most " + Plural(max, "argument") + ", not " + std::to_string(n));
}

std::int64_t ScriptLine::Whole(std::size_t i, std::int64_t min, std::int64_t max, const char* what) const {
  const std::string& w = Word(i);
  std::int64_t value = 0;
  const auto [end, ec] = std::from_chars(w.data(), w.data() + w.size(), value);
  if (ec != std::errc() || end != w.data() + w.size())
    Fail("needs a whole number for the " + std::string(what) + ", not '" + w + "'");
  if (value < min || value > max)
    Fail("takes a " + std::string(what) + " from " + std::to_string(min) + " to " + std::to_string(max) + ", not " + w);
  return value;
}

std::uint64_t ScriptLine::Unsigned(std::size_t i, const char* what) const {
  const std::string& w = Word(i);
  std::uint64_t value = 0;
  const auto [end, ec] = std::from_chars(w.data(), w.data() + w.size(), value);
  if (ec != std::errc() || end != w.data() + w.size())
    Fail("needs a whole number from 0 for the " + std::string(what) + ", not '" + w + "'");
  return value;
}

double ScriptLine::Number(std::size_t i, double min, double max, const char* what) const {
  const std::string& w = Word(i);
  double value = 0;
  const auto [end, ec] = std::from_chars(w.data(), w.data() + w.size(), value, std::chars_format::fixed);
  if (ec != std::errc() || end != w.data() + w.size() || !std::isfinite(value))
    Fail("needs a number for the " + std::string(what) + ", not '" + w + "'");
  if (value < min || value > max)
    Fail("takes a " + std::string(what) + " from " + Shown(min) + " to " + Shown(max) + ", not " + w);
  return value;
}

sim::Area ScriptLine::Area(std::size_t i) const {
  const std::string& w = Word(i);
  const auto area = sim::ParseArea(w);
  if (!area) Fail("needs a cell address within A1:XFD1048576, not '" + w + "'");
  return *area;
}

sim::CellRef ScriptLine::Cell(std::size_t i) const {
  const sim::Area area = Area(i);
  if (!(area.first == area.last)) Fail("takes one cell, not the block " + Word(i));
  return area.first;
}

std::int32_t ScriptLine::Row(std::size_t i) const {
  return static_cast<std::int32_t>(Whole(i, 1, sim::SheetModel::kMaxRows, "row"));
}

std::int32_t ScriptLine::Column(std::size_t i) const {
  const auto column = sim::ParseColumn(Word(i));
  if (!column) Fail("needs a column from A to XFD (or 1 to 16384), not '" + Word(i) + "'");
  return *column;
}

platform::Rect ScriptLine::Rect(const platform::Rect& bounds, const char* what) const {
  const platform::Rect r{static_cast<std::int32_t>(Whole(1, bounds.left, bounds.right, "left edge")),
                         static_cast<std::int32_t>(Whole(2, bounds.top, bounds.bottom, "top edge")),
                         static_cast<std::int32_t>(Whole(3, bounds.left, bounds.right, "right edge")),
                         static_cast<std::int32_t>(Whole(4, bounds.top, bounds.bottom, "bottom edge"))};
  if (r.Empty()) Fail("needs " + std::string(what) + " whose right lies past its left and bottom below its top");
  return r;
}

std::string ScriptLine::Rest(std::size_t n) const {
  std::size_t pos = 0;
  for (std::size_t i = 0; i < n; ++i) {
    pos = text_.find_first_not_of(" \t", pos);
    pos = text_.find_first_of(" \t", pos);
    if (pos == std::string::npos) return "";
  }
  pos = text_.find_first_not_of(" \t\r", pos);
  if (pos == std::string::npos) return "";
  const auto end = text_.find_last_not_of(" \t\r");
  return text_.substr(pos, end - pos + 1);
}

}  // namespace rowtint::script
