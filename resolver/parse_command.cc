#include "resolver/parse_command.h"

#include "app/toolkit.h"

namespace tw {

// Every click starts one more worker; a click that gets no thread has no
// effect, and nobody waits for the workers.
void OnParseClicked() { StartThread(ParseWorker); }

void ParseWorker() { ResolveShareLink(); }

}  // namespace tw
