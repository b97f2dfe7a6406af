// A byte-by-byte model of the searching text operations, written from their
// contracts: slow and plain on purpose, so that the real operations (which
// skip ahead by words and use memmem) can be checked against it. Shared by
// the differential test and the differential fuzz target.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "runtime/text.h"

namespace tw::model {

inline bool IsLead(char c) { return static_cast<unsigned char>(c) >= 0x80; }
inline char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// The 0-based byte offset a start position searches from.
inline std::size_t Origin(Position start) { return start <= 1 ? 0 : static_cast<std::size_t>(start - 1); }

// starts[i]: byte i begins a character, counting characters from `origin`.
// A lead byte as the last byte is no character.
inline std::vector<bool> CharStarts(const std::string& t, std::size_t origin) {
  std::vector<bool> starts(t.size() + 1, false);
  for (std::size_t i = origin; i < t.size();) {
    if (IsLead(t[i]) && i + 1 == t.size()) break;
    starts[i] = true;
    i += IsLead(t[i]) ? 2 : 1;
  }
  return starts;
}

// Whether `sub` matches at character start `at`: byte by byte, a byte of the
// text that is a one-byte character compared with case folded when asked.
inline bool MatchesAt(const std::string& t, const std::vector<bool>& starts, std::size_t at,
                      const std::string& sub, bool ignoreCase) {
  if (!starts[at] || at + sub.size() > t.size()) return false;
  for (std::size_t j = 0; j < sub.size(); ++j) {
    const char a = t[at + j];
    const bool fold = ignoreCase && starts[at + j] && !IsLead(a);
    if (fold ? Lower(a) != Lower(sub[j]) : a != sub[j]) return false;
  }
  return true;
}

inline Position Find(const std::string& t, const std::string& sub, Position start, bool ignoreCase) {
  const std::size_t origin = Origin(start);
  if (origin >= t.size()) return -1;
  if (sub.empty()) return 1;
  const auto starts = CharStarts(t, origin);
  for (std::size_t i = origin; i < t.size(); ++i) {
    if (MatchesAt(t, starts, i, sub, ignoreCase)) return static_cast<Position>(i + 1);
  }
  return -1;
}

inline Position FindFromEnd(const std::string& t, const std::string& sub, Position start, bool ignoreCase) {
  if (sub.empty()) return -1;
  const auto starts = CharStarts(t, 0);
  Position last = -1;
  for (std::size_t i = 0; i < t.size(); ++i) {
    const bool beforeStart = start < 0 || static_cast<Position>(i + sub.size()) < start;
    if (beforeStart && MatchesAt(t, starts, i, sub, ignoreCase)) last = static_cast<Position>(i + 1);
  }
  return last;
}

inline std::string Replace(const std::string& t, const std::string& sub, const std::string& replacement,
                           Position start, Position count, bool ignoreCase) {
  const std::size_t origin = Origin(start);
  if (t.empty() || sub.empty() || origin >= t.size()) return t;
  const auto starts = CharStarts(t, origin);
  std::string out = t.substr(0, origin);
  Position done = 0;
  for (std::size_t i = origin; i < t.size();) {
    if ((count < 0 || done < count) && MatchesAt(t, starts, i, sub, ignoreCase)) {
      out += replacement;
      i += sub.size();
      ++done;
    } else {
      out += t[i++];
    }
  }
  return out;
}

inline TextArray Split(const std::string& t, const std::string& delimiter, Position maxCount) {
  TextArray pieces;
  if (t.empty() || maxCount == 0) return pieces;
  if (delimiter.empty()) return {Text(t)};
  const auto starts = CharStarts(t, 0);
  std::vector<std::string> all;
  std::string piece;
  for (std::size_t i = 0; i < t.size();) {
    if (MatchesAt(t, starts, i, delimiter, false)) {
      all.push_back(piece);
      piece.clear();
      i += delimiter.size();
    } else {
      piece += t[i++];
    }
  }
  // The text is not empty, so an empty rest means it ended with a delimiter.
  if (!piece.empty()) all.push_back(piece);
  for (const std::string& p : all) {
    if (maxCount > 0 && pieces.MemberCount() == maxCount) break;
    pieces.Append(Text(p));
  }
  return pieces;
}

}  // namespace tw::model
