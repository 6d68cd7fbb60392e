// One line of a script for rowtint-sim and rowtint-host: its words, and the
// checks that hold each argument to what the host or a person could give. A
// line that fails one raises ScriptError saying what was wrong.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/sim/sheet_model.h"
#include "platform/types.h"

namespace rowtint::script {

class ScriptError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class ScriptLine {
 public:
  // The text up to a '#', split at blanks.
  explicit ScriptLine(const std::string& text);

  bool Empty() const { return words_.empty(); }
  const std::string& Command() const { return words_.front(); }
  std::size_t Arguments() const { return words_.size() - 1; }
  // The i-th argument, counted from 1.
  const std::string& Word(std::size_t i) const;

  // The command takes from min to max arguments.
  void ExpectArguments(std::size_t min, std::size_t max) const;
  void ExpectArguments(std::size_t count) const { ExpectArguments(count, count); }

  // A whole number from min to max, written plainly (digits, a leading minus).
  std::int64_t Whole(std::size_t i, std::int64_t min, std::int64_t max, const char* what) const;
  std::uint64_t Unsigned(std::size_t i, const char* what) const;
  // A finite decimal number from min to max.
  double Number(std::size_t i, double min, double max, const char* what) const;
  sim::Area Area(std::size_t i) const;
  sim::CellRef Cell(std::size_t i) const;
  std::int32_t Row(std::size_t i) const;
  std::int32_t Column(std::size_t i) const;
  // Four whole numbers from argument 1 on: left, top, right, bottom, inside `bounds` and not empty.
  platform::Rect Rect(const platform::Rect& bounds, const char* what) const;
  // The text after the first n words, as written.
  std::string Rest(std::size_t n) const;

 private:
  [[noreturn]] void Fail(const std::string& why) const;

  std::string text_;
  std::vector<std::string> words_;
};

}  // namespace rowtint::script
