#include "product/settings/ini_document.h"

#include <algorithm>

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::size_t kNone = std::string::npos;

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f'; }

std::string_view Trim(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameName(std::string_view a, std::string_view b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return LowerAscii(x) == LowerAscii(y); });
}

std::string_view WithoutQuotes(std::string_view value) {
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front()) {
    return value.substr(1, value.size() - 2);
  }
  return value;
}

std::string_view FirstLine(std::string_view text) { return text.substr(0, text.find_first_of("\r\n")); }

}  // namespace

IniDocument::IniDocument(std::string_view text) {
  if (text.substr(0, kByteOrderMark.size()) == kByteOrderMark) {
    mByteOrderMark = true;
    text.remove_prefix(kByteOrderMark.size());
  }
  const std::size_t firstEnd = text.find('\n');
  mLineEnd = (firstEnd == kNone || (firstEnd > 0 && text[firstEnd - 1] == '\r')) ? "\r\n" : "\n";
  // A carriage return is part of the line end only in a CRLF file, so that
  // every line is written back as it was read.
  const bool crlf = mLineEnd == "\r\n";
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    if (crlf && end != kNone && !line.empty() && line.back() == '\r') line.remove_suffix(1);
    mLines.push_back(ParseLine(std::string(line)));
    text.remove_prefix(end == kNone ? text.size() : end + 1);
  }
}

IniDocument::Line IniDocument::ParseLine(std::string text) {
  Line line;
  const std::string_view content = Trim(text);
  if (!content.empty() && content.front() == '[') {
    const std::size_t close = content.find(']');
    line.kind = LineKind::kSection;
    line.name = std::string(Trim(content.substr(1, close == kNone ? kNone : close - 1)));
  } else if (!content.empty() && content.front() != ';') {
    const std::size_t equals = content.find('=');
    const std::string_view name = equals == kNone ? std::string_view() : Trim(content.substr(0, equals));
    if (!name.empty()) {
      line.kind = LineKind::kKey;
      line.name = std::string(name);
      line.value = std::string(WithoutQuotes(Trim(content.substr(equals + 1))));
    }
  }
  line.text = std::move(text);
  return line;
}

IniDocument::Line IniDocument::KeyLine(std::string_view key, std::string_view value) {
  return ParseLine(std::string(key) + "=" + std::string(FirstLine(value)));
}

std::string IniDocument::Text() const {
  std::string text = mByteOrderMark ? std::string(kByteOrderMark) : std::string();
  for (const Line& line : mLines) text += line.text + mLineEnd;
  return text;
}

std::size_t IniDocument::FindSection(std::string_view section) const {
  for (std::size_t i = 0; i < mLines.size(); ++i) {
    if (mLines[i].kind == LineKind::kSection && SameName(mLines[i].name, section)) return i;
  }
  return kNone;
}

std::size_t IniDocument::SectionEnd(std::size_t header) const {
  std::size_t end = header + 1;
  while (end < mLines.size() && mLines[end].kind != LineKind::kSection) ++end;
  return end;
}

std::size_t IniDocument::AppendSection(std::string_view section) {
  // A blank line keeps sections apart, as profile writers do.
  if (!mLines.empty() && !Trim(mLines.back().text).empty()) mLines.push_back(Line{});
  mLines.push_back(ParseLine("[" + std::string(FirstLine(section)) + "]"));
  return mLines.size() - 1;
}

bool IniDocument::Find(std::string_view section, std::string_view key, std::string& value) const {
  const std::size_t header = FindSection(section);
  if (header == kNone) return false;
  const std::size_t end = SectionEnd(header);
  for (std::size_t i = header + 1; i < end; ++i) {
    if (mLines[i].kind == LineKind::kKey && SameName(mLines[i].name, key)) {
      value = mLines[i].value;
      return true;
    }
  }
  return false;
}

void IniDocument::Set(std::string_view section, std::string_view key, std::string_view value) {
  std::size_t header = FindSection(section);
  if (header == kNone) header = AppendSection(section);
  const std::size_t end = SectionEnd(header);
  std::size_t insertAt = header + 1;
  for (std::size_t i = header + 1; i < end; ++i) {
    if (mLines[i].kind != LineKind::kKey) continue;
    if (SameName(mLines[i].name, key)) {
      // The file's own spelling of the key name stays.
      mLines[i] = KeyLine(mLines[i].name, value);
      return;
    }
    insertAt = i + 1;
  }
  mLines.insert(mLines.begin() + static_cast<std::ptrdiff_t>(insertAt), KeyLine(key, value));
}

void IniDocument::ClearSection(std::string_view section) {
  const std::size_t header = FindSection(section);
  if (header == kNone) {
    AppendSection(section);
    return;
  }
  // Blank lines that separate the section from the next one stay.
  std::size_t end = SectionEnd(header);
  while (end > header + 1 && Trim(mLines[end - 1].text).empty()) --end;
  mLines.erase(mLines.begin() + static_cast<std::ptrdiff_t>(header + 1),
               mLines.begin() + static_cast<std::ptrdiff_t>(end));
}
