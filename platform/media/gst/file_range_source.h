// SPDX-License-Identifier: MIT
#pragma once

#include <gst/gst.h>

#include <cstdint>
#include <string>

namespace tessaro::media::gst {

// Makes the playbin read the file from byte offset `from` on, as if the bytes before it
// were not there: its source becomes an appsrc that reads the file in that range and
// seeks within it. The playbin keeps what it needs for as long as it lives.
void playFileFrom(GstElement* playbin, const std::string& path, std::uint64_t from);

}  // namespace tessaro::media::gst
