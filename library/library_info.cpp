namespace tessaro {

// The library's version, for hosts that log what they loaded.
const char* libraryVersion() {
    return "0.1.0";
}

}  // namespace tessaro
