#include "control/kavo_video_sync.h"

namespace tessaro {

Variant KavoVideoSync::Ppreview() {
    throw Error(445, "Object doesn't support this action: Ppreview is not available yet");
}

}  // namespace tessaro
