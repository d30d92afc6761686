#include "control/kavo_video_sync.h"

namespace tessaro {

void KavoVideoSync::InitAudio() {
    throw Error(445, "Object doesn't support this action: InitAudio is not available yet");
}

}  // namespace tessaro
