// SPDX-License-Identifier: MIT
#pragma once

#include <string>

namespace tessaro::render {

// A file written under a temporary name beside its final path and moved there by
// commit(); until then nothing appears under the final name. Uncommitted, the temporary
// file is removed on destruction and when the process is interrupted (SIGINT, SIGTERM,
// SIGHUP).
class OutputFile {
  public:
    // Throws tessaro::Error 277 when the folder cannot take the file.
    explicit OutputFile(const std::string& path);
    ~OutputFile();
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    const std::string& temporaryPath() const { return temporary_; }
    // Writes the whole text into the temporary file. Throws tessaro::Error 277.
    void write(const std::string& text);
    // Moves the written file to its final name. Throws tessaro::Error 277 when it cannot.
    void commit();

  private:
    std::string path_;
    std::string temporary_;
    int slot_;
    bool committed_ = false;
};

// Installs the handlers that remove uncommitted files when the process is interrupted.
void removeOutputFilesOnInterrupt();

// Writes a whole text file through an OutputFile.
void writeTextFile(const std::string& path, const std::string& text);

}  // namespace tessaro::render
