#include "GuideIndex.h"

#include <cctype>

namespace {

bool IsWordChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }

std::string Upper(std::string_view text) {
  std::string upper(text);
  for (char &c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return upper;
}

TGuideEntry Heading(int level, std::string_view text) {
  TGuideEntry entry;
  entry.Level = level;
  bool inCode = false;
  std::string word;
  auto endWord = [&] {
    if (!word.empty()) entry.Keys.push_back(Upper(word));
    word.clear();
  };
  for (char c : text) {
    if (c == '`') {
      endWord();
      inCode = !inCode;
      continue;
    }
    entry.Title.push_back(c);
    if (inCode && IsWordChar(c)) word.push_back(c);
    else endWord();
  }
  endWord();
  return entry;
}

}  // namespace

std::vector<TGuideEntry> GuideEntries(std::string_view markdown) {
  std::vector<TGuideEntry> entries;
  while (!markdown.empty()) {
    const std::size_t end = markdown.find('\n');
    std::string_view line = markdown.substr(0, end);
    markdown = end == std::string_view::npos ? std::string_view() : markdown.substr(end + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    std::size_t level = 0;
    while (level < line.size() && line[level] == '#') ++level;
    if (level >= 1 && level <= 6 && level < line.size() && line[level] == ' ')
      entries.push_back(Heading(static_cast<int>(level), line.substr(level + 1)));
  }
  return entries;
}

int FindGuideEntry(const std::vector<TGuideEntry> &entries, std::string_view word) {
  const std::string key = Upper(word);
  int other = -1;
  for (std::size_t i = 0; i < entries.size(); ++i) {
    for (const std::string &k : entries[i].Keys) {
      if (k != key) continue;
      if (entries[i].Level == 3) return static_cast<int>(i);
      if (other < 0) other = static_cast<int>(i);
    }
  }
  return other;
}
