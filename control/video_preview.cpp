#include "control/kavo_video_sync.h"

namespace tessaro {

Variant KavoVideoSync::Preview() {
    throw Error(445, "Object doesn't support this action: Preview is not available yet");
}

}  // namespace tessaro
