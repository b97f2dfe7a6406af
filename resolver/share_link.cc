#include "resolver/share_link.h"

#include "app/toolkit.h"
#include "resolver/parse_command.h"
#include "runtime/text_ops.h"
#include "web/fetch_page.h"
#include "web/text_between.h"

namespace tw {
namespace {

// Every value is cut up to the next double quote.
constexpr const char* kEndMarker = "\"";

// The share page's markers, in the order the values are cut.
constexpr const char* kFileNameMarker = "server_filename=\"";
constexpr const char* kShareIdMarker = "share_id=\"";
constexpr const char* kShareUkMarker = "share_uk=\"";
constexpr const char* kFsIdMarker = "fsId=\"";
constexpr const char* kTimestampMarker = "timestamp=\"";
constexpr const char* kSignMarker = "sign=\"";
// Cut from the download interface's JSON answer.
constexpr const char* kDownloadLinkMarker = "dlink\":\"";
// The answer's opening when the service asks for a verification code.
constexpr const char* kThrottledMarker = "{\"errno\":-19";

constexpr const char* kDownloadPath = "share/download?channel=chunlei&clienttype=0&web=1&uk=";

void ShowNotice(const char* message) { ShowMessageBox(message, kOkCancelQuestion, kNoticeTitle); }

}  // namespace

void ResolveShareLink() {
  // The address is tested as read once and fetched as read a second time, so
  // what the user typed meanwhile is what goes out.
  if (FindText(ReadControlProperty(Control::编辑框1, kEditBoxText), kServiceBaseAddress) <= 0) {
    ShowNotice(kForeignAddressMessage);
    return;
  }

  WriteControlProperty(Control::按钮_地址, kButtonCaption, "");
  WriteControlProperty(Control::按钮_文件名, kButtonCaption, "");
  WriteControlProperty(Control::编辑框2, kEditBoxText, "");
  WriteControlProperty(Control::编辑框3, kEditBoxText, "");

  // Neither request supplies cookies: the share page's cookies reach the
  // download request through the HTTP client's own store.
  Text page = FetchPage(ReadControlProperty(Control::编辑框1, kEditBoxText));

  const Text fileName = TextBetween(page, kFileNameMarker, kEndMarker);
  const Text shareId = TextBetween(page, kShareIdMarker, kEndMarker);
  const Text shareUk = TextBetween(page, kShareUkMarker, kEndMarker);
  const Text fsId = TextBetween(page, kFsIdMarker, kEndMarker);
  const Text timestamp = TextBetween(page, kTimestampMarker, kEndMarker);
  const Text sign = TextBetween(page, kSignMarker, kEndMarker);

  // The values go in unescaped, exactly as the page holds them.
  const Text downloadRequestAddress =
      JoinText(Text(kServiceBaseAddress), kDownloadPath, shareUk, "&shareid=", shareId,
               "&timestamp=", timestamp, "&sign=", sign, "&bdstoken=null");
  const Text requestBody = JoinText(Text("fid_list=%5B%22"), fsId, "%22%5D");

  page = FetchPage(downloadRequestAddress, {.method = 1, .postText = requestBody});

  if (FindText(page, kThrottledMarker) >= 0) {
    ShowNotice(kThrottledMessage);
    return;
  }

  // Dropping every backslash turns the JSON-escaped "\/" into "/"; no other
  // JSON escape is undone.
  const Text downloadAddress =
      ReplaceText(TextBetween(page, kDownloadLinkMarker, kEndMarker), "\\", "", 1, kAll, Case::kExact);

  WriteControlProperty(Control::按钮_文件名, kButtonCaption, fileName);
  WriteControlProperty(Control::按钮_地址, kButtonCaption, downloadAddress);
  WriteControlProperty(Control::编辑框3, kEditBoxText, downloadAddress);
  WriteControlProperty(Control::编辑框2, kEditBoxText, fileName);
}

}  // namespace tw
