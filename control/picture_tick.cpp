#include "control/kavo_video_sync.h"

namespace tessaro {

void KavoVideoSync::pictureTick() {
    throw Error(445, "Object doesn't support this action: pictureTick is not available yet");
}

}  // namespace tessaro
