// The file that a fuzz input is written to before a reader opens it. Every
// reader takes a file name, so each input goes through a real file: one per
// process, in a private directory made once (in memory under /dev/shm when
// that exists) and removed at exit.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace kavi::fuzz {

// Replaces the contents of the process's input file with data[0 … size - 1]
// and returns its path. Aborts when the file cannot be written: a harness
// that cannot hand its input to the reader must not report success.
const std::string& WriteInputFile(const std::uint8_t* data, std::size_t size);

}  // namespace kavi::fuzz
