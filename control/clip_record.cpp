// SPDX-License-Identifier: MIT
#include <tessaro/kavo_video_sync.h>
#include "control/error_modes.h"
#include "control/kavo_video_sync_fields.h"

namespace tessaro {

// Each column is its own step: in ignore-and-continue a column that cannot be converted
// keeps its field's value and the others still load; otherwise the load stops there.
void KavoVideoSync::loadClipRecord(ErrorMode& mode) {
    mode.step([&] { f_.ClipFile = recordset().field("Filename").toText(); });
    mode.step([&] { f_.ClipAction = recordset().field("Action").toText(); });
    mode.step([&] { f_.ClipStart = recordset().field("StartPos").toInt16(); });
    mode.step([&] { f_.ClipEnd = recordset().field("EndPos").toInt16(); });
    mode.step([&] { f_.ClipLen = recordset().field("Filelen").toDouble(); });
}

}  // namespace tessaro
