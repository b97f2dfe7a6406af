#include "tests/support/share_service/share_catalogue.h"

#include <charconv>
#include <vector>

namespace tw::test {
namespace {

// The size of the big pages' filler, for the benchmark.
constexpr std::size_t kBigPageFillerBytes = 20 * 1024 * 1024;

constexpr std::string_view kBatchPrefix = "/s/1batch-";
constexpr int kBatchShares = 10000;
constexpr int kBatchFirstId = 100000;

// "会议纪要.docx" and "分享" in code page 936, for the page that names no charset.
constexpr std::string_view kGbkFileName = "\xbb\xe1\xd2\xe9\xbc\xcd\xd2\xaa.docx";
constexpr std::string_view kGbkShareWord = "\xb7\xd6\xcf\xed";

const std::vector<Share>& FixedShares() {
  static const std::vector<Share> shares = {
      {ShareKind::kUtf8Page, "/s/1utf8", "年度报告.pdf", "3021", "77801", "90001", "1700000000", "c0ffee01"},
      {ShareKind::kGbkPage, "/s/1gbk", "会议纪要.docx", "3022", "77802", "90002", "1700000060", "c0ffee02"},
      {ShareKind::kEarlierSignKey, "/s/1sign", "sign-test.zip", "3023", "77803", "90003", "1700000120",
       "c0ffee03"},
      {ShareKind::kNoFileName, "/s/1noname", "", "3024", "77804", "90004", "1700000180", "c0ffee04"},
      {ShareKind::kNoDownloadLink, "/s/1nodlink", "gone.iso", "3025", "77805", "90005", "1700000240",
       "c0ffee05"},
      {ShareKind::kThrottled, "/s/1busy", "busy.mp4", "3026", "77806", "90006", "1700000300", "c0ffee06"},
      {ShareKind::kBigAsciiPage, "/s/1big", "big.bin", "3027", "77807", "90007", "1700000360", "c0ffee07"},
      {ShareKind::kBigUtf8Page, "/s/1bigutf8", "大文件.bin", "3028", "77808", "90008", "1700000420",
       "c0ffee08"},
  };
  return shares;
}

std::optional<int> ParseNumber(std::string_view text) {
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || text.empty()) return std::nullopt;
  return value;
}

Share BatchShare(int k) {
  const std::string n = std::to_string(k);
  return {ShareKind::kUtf8Page,           std::string(kBatchPrefix) + n,
          "batch-" + n + ".dat",          std::to_string(kBatchFirstId + k),
          std::to_string(880000 + k),     std::to_string(7000000 + k),
          std::to_string(1700000000 + k), "b" + std::to_string(k * 7919 + 17)};
}

// Text that pads a page up to the benchmark's size, repeated lines of markup.
std::string Filler(bool utf8) {
  const std::string_view line = utf8 ? "<p>这是一份分享文件的说明文字，用来把页面撑大。</p>\n"
                                     : "<p>This paragraph only pads the share page out to its size.</p>\n";
  std::string filler;
  filler.reserve(kBigPageFillerBytes + line.size());
  while (filler.size() < kBigPageFillerBytes) filler += line;
  return filler;
}

const std::string& BigFiller(bool utf8) {
  static const std::string ascii = Filler(false);
  static const std::string chinese = Filler(true);
  return utf8 ? chinese : ascii;
}

std::string ValueAttributes(const Share& share) {
  std::string attributes;
  if (share.kind != ShareKind::kNoFileName) {
    attributes += " server_filename=\"" +
                  (share.kind == ShareKind::kGbkPage ? std::string(kGbkFileName) : share.fileName) + "\"";
  }
  attributes += " share_id=\"" + share.shareId + "\" share_uk=\"" + share.shareUk + "\" fsId=\"" +
                share.fsId + "\" timestamp=\"" + share.timestamp + "\"";
  // "usersign" ends in the sign marker; a resolver takes it, being first.
  if (share.kind == ShareKind::kEarlierSignKey) attributes += " data-usersign=\"early5ign\"";
  attributes += " sign=\"" + share.sign + "\"";
  return attributes;
}

}  // namespace

std::optional<Share> FindShareByPath(std::string_view path) {
  for (const Share& share : FixedShares()) {
    if (share.path == path) return share;
  }
  if (path.starts_with(kBatchPrefix)) {
    const std::optional<int> k = ParseNumber(path.substr(kBatchPrefix.size()));
    if (k && *k >= 0 && *k < kBatchShares) return BatchShare(*k);
  }
  return std::nullopt;
}

std::optional<Share> FindShareById(std::string_view shareId) {
  for (const Share& share : FixedShares()) {
    if (share.shareId == shareId) return share;
  }
  const std::optional<int> id = ParseNumber(shareId);
  if (id && *id >= kBatchFirstId && *id < kBatchFirstId + kBatchShares)
    return BatchShare(*id - kBatchFirstId);
  return std::nullopt;
}

std::string SharePage(const Share& share) {
  const bool gbk = share.kind == ShareKind::kGbkPage;
  std::string page = "<!DOCTYPE html>\n<html>\n<head>\n";
  // The big ASCII page names no charset, so it is taken as it comes.
  if (!gbk && share.kind != ShareKind::kBigAsciiPage) page += "<meta charset=\"utf-8\">\n";
  page += "<title>" +
          (gbk ? std::string(kGbkFileName) + " " + std::string(kGbkShareWord) : share.fileName + " 分享") +
          "</title>\n</head>\n<body>\n";
  if (share.kind == ShareKind::kBigAsciiPage || share.kind == ShareKind::kBigUtf8Page) {
    page += BigFiller(share.kind == ShareKind::kBigUtf8Page);
  }
  page += "<div class=\"share-file\"" + ValueAttributes(share) + "></div>\n</body>\n</html>\n";
  return page;
}

std::string ShareCookieName(const Share& share) { return "BDCLND_" + share.shareId; }

std::string ShareCookieValue(const Share& share) { return "k" + share.fsId + "z" + share.shareUk; }

std::string EscapedDownloadLink(const Share& share, std::string_view sign) {
  return "http:\\/\\/files.sample-share.test\\/file\\/" + share.fsId + "?fid=" + share.shareUk + "-" + share.fsId +
         "\\u0026dstime=" + share.timestamp + "\\u0026sign=" + std::string(sign) + "\\u0026expires=8h";
}

std::string CleanedDownloadLink(const Share& share, std::string_view sign) {
  std::string link = EscapedDownloadLink(share, sign);
  std::erase(link, '\\');
  return link;
}

}  // namespace tw::test
