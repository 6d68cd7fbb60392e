// A small writer for the one-line JSON that `state` prints.
#pragma once

#include <cstdint>
#include <sstream>
#include <string>

#include "platform/types.h"

namespace rowtint::script {

class JsonWriter {
 public:
  JsonWriter& BeginObject() { return Open('{'); }
  JsonWriter& EndObject() { return Close('}'); }
  JsonWriter& BeginArray() { return Open('['); }
  JsonWriter& EndArray() { return Close(']'); }
  JsonWriter& Key(const std::string& key) {
    Separate();
    String(key);
    out_ << ':';
    afterKey_ = true;
    return *this;
  }
  JsonWriter& Value(std::int64_t v) {
    Separate();
    out_ << v;
    return *this;
  }
  JsonWriter& Number(double v) {
    Separate();
    out_ << v;
    return *this;
  }
  JsonWriter& Bool(bool v) {
    Separate();
    out_ << (v ? "true" : "false");
    return *this;
  }
  JsonWriter& Null() {
    Separate();
    out_ << "null";
    return *this;
  }
  JsonWriter& Text(const std::string& v) {
    Separate();
    String(v);
    return *this;
  }
  JsonWriter& RectValue(const platform::Rect& r) {
    return BeginArray().Value(r.left).Value(r.top).Value(r.right).Value(r.bottom).EndArray();
  }
  JsonWriter& PointValue(const platform::Point& p) { return BeginArray().Value(p.x).Value(p.y).EndArray(); }
  std::string str() const { return out_.str(); }

 private:
  JsonWriter& Open(char c) {
    Separate();
    out_ << c;
    first_ = true;
    return *this;
  }
  JsonWriter& Close(char c) {
    out_ << c;
    first_ = false;
    return *this;
  }
  void Separate() {
    if (afterKey_) {
      afterKey_ = false;
      return;
    }
    if (!first_) out_ << ',';
    first_ = false;
  }
  void String(const std::string& s) {
    out_ << '"';
    for (unsigned char c : s) {
      if (c == '"' || c == '\\')
        out_ << '\\' << c;
      else if (c == '\n')
        out_ << "\\n";
      else if (c == '\r')
        out_ << "\\r";
      else if (c == '\t')
        out_ << "\\t";
      else if (c < 0x20) {
        char buf[8];
        std::snprintf(buf, sizeof buf, "\\u%04x", c);
        out_ << buf;
      } else
        out_ << c;
    }
    out_ << '"';
  }
  std::ostringstream out_;
  bool first_ = true;
  bool afterKey_ = false;
};

}  // namespace rowtint::script
