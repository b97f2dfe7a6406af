#include "app/handlers.h"

#include "app/messages.h"
#include "app/toolkit.h"
#include "runtime/text_ops.h"

namespace tw {

void OnMainWindowCreated() { ApplyVisualStyle(1); }

void OnCopyClicked() {
  bool hasAddress = CompareText(ReadControlProperty(Control::按钮_地址, kButtonCaption), Text()) != 0;
  if (!hasAddress) {
    ShowMessageBox(kNoAddressMessage, kOkCancelQuestion, kNoticeTitle);
    return;
  }
  // A second reading: a worker may have written the caption in between.
  if (SetClipboardText(ReadControlProperty(Control::按钮_地址, kButtonCaption))) {
    ShowMessageBox(kCopiedMessage, kOkCancelQuestion, kNoticeTitle);
  } else {
    // Confirming a copy that did not happen would leave the user with a stale
    // clipboard and no hint why the download manager gets the wrong address.
    ShowMessageBox(kCopyFailedMessage, kOkCancelQuestion, kNoticeTitle);
  }
}

}  // namespace tw
