// The entries of the Language Guide: its Markdown headings, each with the words it explains
// (those written as code in the heading, like `WriteLn`), so that a word of a program leads to
// its entry.
#pragma once

#include <string>
#include <string_view>
#include <vector>

struct TGuideEntry {
  int Level = 0;                  // 1 for "#", 2 for "##", 3 for "###"
  std::string Title;              // the heading's text without the code marks
  std::vector<std::string> Keys;  // the words it explains, upper case
};

// The headings in the order of the text; lines of indented code are not headings.
std::vector<TGuideEntry> GuideEntries(std::string_view markdown);

// The entry that explains `word` (any case): the first "###" entry with the word, else the
// first other one; -1 when none.
int FindGuideEntry(const std::vector<TGuideEntry> &entries, std::string_view word);
