#include "cli/report.h"

#include <cstdio>

namespace tw::cli {
namespace {

std::string_view OutcomeName(Outcome outcome) {
  switch (outcome) {
    case Outcome::kShown:
      return "shown";
    case Outcome::kRejected:
      return "rejected";
    case Outcome::kThrottled:
      return "throttled";
  }
  return "shown";
}

}  // namespace

std::string PlainLine(const Resolution& result) { return result.fileName + "\t" + result.downloadAddress; }

std::string JsonString(std::string_view text) {
  std::string out = "\"";
  for (const char c : text) {
    switch (c) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\b':
        out += "\\b";
        break;
      case '\f':
        out += "\\f";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        if (static_cast<unsigned char>(c) < 0x20) {
          char escape[8];
          std::snprintf(escape, sizeof escape, "\\u%04x", static_cast<unsigned>(c));
          out += escape;
        } else {
          out += c;  // UTF-8 passes through whole
        }
    }
  }
  return out + "\"";
}

std::string JsonLine(const Resolution& result) {
  return "{\"url\":" + JsonString(result.url) + ",\"fileName\":" + JsonString(result.fileName) +
         ",\"downloadAddress\":" + JsonString(result.downloadAddress) + ",\"outcome\":\"" +
         std::string(OutcomeName(result.outcome)) + "\"}";
}

int ExitStatusOf(const Resolution& result) {
  switch (result.outcome) {
    case Outcome::kRejected:
      return 2;
    case Outcome::kThrottled:
      return 3;
    case Outcome::kShown:
      break;
  }
  return result.downloadAddress.empty() ? 4 : 0;
}

}  // namespace tw::cli
