#pragma once

// libjpeg reports fatal errors through a callback that must not return. The trap turns them
// into a long jump back to runTrapped(), and nothing else: the frames it jumps over are
// libjpeg's and the job bodies', which hold no object with a destructor, so no C++ object is
// ever skipped. The jpeg objects themselves live in the caller and are destroyed there.

#include <csetjmp>
#include <cstddef>
#include <cstdio> // jpeglib.h needs FILE and size_t first

#include <jpeglib.h>

namespace vorlu::photo::detail {

struct JpegTrap {
    jpeg_error_mgr manager; // first, so libjpeg's pointer to it is a pointer to the trap
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX] = {};

    // Reading only: whether the data ran out before the picture was complete.
    bool sawEndOfFile = false;
    bool sawMissingData = false;
    bool multiScan = false;

    jpeg_progress_mgr progress;
    int maxScans = 0;

    JpegTrap();
    void attach(jpeg_common_struct* common);
};

// Runs body(context) and returns true, or returns false when libjpeg raised a fatal error (or a
// warning the trap treats as one). C++ exceptions thrown by the body pass through unchanged.
bool runTrapped(JpegTrap& trap, void (*body)(void*), void* context);

// Leaves the job at once through the trap, as a fatal libjpeg error would.
[[noreturn]] void abandon(jpeg_common_struct* common, int messageCode);

} // namespace vorlu::photo::detail
