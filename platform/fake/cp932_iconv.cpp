// Native stand-in for the Japanese system's ANSI code page: glibc's iconv CP932.
#include <iconv.h>

#include <cerrno>
#include <stdexcept>

#include "platform/fake/fake_platform.h"

namespace quillomi::fake {

namespace {

class Converter {
 public:
  Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {
    if (cd_ == reinterpret_cast<iconv_t>(-1)) throw std::runtime_error("iconv_open failed");
  }
  ~Converter() { iconv_close(cd_); }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;
  iconv_t get() const { return cd_; }

 private:
  iconv_t cd_;
};

}  // namespace

std::u16string DecodeCp932(const std::uint8_t* data, std::size_t size) {
  // Opened once per thread: the fuzz targets decode a character at a time.
  thread_local const Converter cd("UTF-16LE", "CP932");
  iconv(cd.get(), nullptr, nullptr, nullptr, nullptr);
  std::u16string out;
  std::size_t i = 0;
  while (i < size) {
    // Convert one character at a time so an unmappable byte becomes U+30FB like
    // Windows' lenient default; the files are small.
    std::size_t take = (data[i] >= 0x81 && data[i] <= 0x9F) || (data[i] >= 0xE0 && data[i] <= 0xFC) ? 2 : 1;
    if (i + take > size) take = size - i;
    char16_t unit[2];
    char* in = reinterpret_cast<char*>(const_cast<std::uint8_t*>(data + i));
    std::size_t in_left = take;
    char* outp = reinterpret_cast<char*>(unit);
    std::size_t out_left = sizeof unit;
    if (iconv(cd.get(), &in, &in_left, &outp, &out_left) == static_cast<std::size_t>(-1)) {
      out += u'\u30FB';
      i += 1;
      iconv(cd.get(), nullptr, nullptr, nullptr, nullptr);
      continue;
    }
    out.append(unit, (sizeof unit - out_left) / 2);
    i += take;
  }
  return out;
}

Bytes EncodeCp932(std::u16string_view text) {
  Converter cd("CP932", "UTF-16LE");
  Bytes out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    std::size_t units = (text[i] >= 0xD800 && text[i] <= 0xDBFF && i + 1 < text.size()) ? 2 : 1;
    char16_t source[2] = {text[i], units == 2 ? text[i + 1] : u'\0'};
    char* in = reinterpret_cast<char*>(source);
    std::size_t in_left = units * 2;
    char buffer[8];
    char* outp = buffer;
    std::size_t out_left = sizeof buffer;
    if (iconv(cd.get(), &in, &in_left, &outp, &out_left) == static_cast<std::size_t>(-1)) {
      out.push_back('?');  // the code page's default character
      iconv(cd.get(), nullptr, nullptr, nullptr, nullptr);
    } else {
      out.insert(out.end(), buffer, outp);
    }
    i += units - 1;
  }
  return out;
}

}  // namespace quillomi::fake
