#include "platform/framework/Exception.h"

std::string FormatArg::Text() const { return FIsNumber ? std::to_string(FNumber) : FText; }

std::string FormatText(std::string_view format, std::initializer_list<FormatArg> args) {
  std::string out;
  out.reserve(format.size() + 16);
  auto next = args.begin();
  for (size_t i = 0; i < format.size(); ++i) {
    const char c = format[i];
    if (c != '%' || i + 1 >= format.size()) {
      out += c;
      continue;
    }
    const char kind = format[++i];
    if (kind == '%') {
      out += '%';
    } else if (next == args.end()) {
      out += '%';
      out += kind;
    } else if (kind == 'x' || kind == 'X') {
      static const char* const kDigits[] = {"0123456789abcdef", "0123456789ABCDEF"};
      const char* digits = kDigits[kind == 'X'];
      auto value = static_cast<uint64_t>(next->Number());
      std::string hex;
      do {
        hex.insert(hex.begin(), digits[value & 15]);
        value >>= 4;
      } while (value != 0);
      out += hex;
      ++next;
    } else {
      out += (next++)->Text();
    }
  }
  return out;
}
