#include "JpegTrap.h"

#include <jerror.h>

namespace vorlu::photo::detail {
namespace {

JpegTrap& trapOf(j_common_ptr common)
{
    return *reinterpret_cast<JpegTrap*>(common->err);
}

[[noreturn]] void errorExit(j_common_ptr common)
{
    JpegTrap& trap = trapOf(common);
    (*common->err->format_message)(common, trap.message);
    std::longjmp(trap.jump, 1);
}

// Warnings are tolerated, as real cameras write slightly damaged files, except those that show
// the file ended before the picture did: such a picture is partly invented grey.
void emitMessage(j_common_ptr common, int level)
{
    if (level >= 0)
        return; // trace messages
    JpegTrap& trap = trapOf(common);
    common->err->num_warnings++;
    const int code = common->err->msg_code;
    if (code == JWRN_JPEG_EOF)
        trap.sawEndOfFile = true;
    else if (code == JWRN_HIT_MARKER)
        trap.sawMissingData = true;
    else
        return;
    if (trap.sawEndOfFile && (trap.sawMissingData || trap.multiScan))
        errorExit(common);
}

void outputMessage(j_common_ptr) {}

// Each progressive scan costs a pass over the whole picture; a file made of thousands of tiny
// scans would otherwise keep the program busy for minutes.
void progressMonitor(j_common_ptr common)
{
    if (!common->is_decompressor)
        return;
    JpegTrap& trap = trapOf(common);
    if (reinterpret_cast<j_decompress_ptr>(common)->input_scan_number > trap.maxScans)
        abandon(common, JERR_NOTIMPL);
}

} // namespace

JpegTrap::JpegTrap()
{
    jpeg_std_error(&manager);
    manager.error_exit = errorExit;
    manager.emit_message = emitMessage;
    manager.output_message = outputMessage;
    progress = {};
    progress.progress_monitor = progressMonitor;
}

void JpegTrap::attach(jpeg_common_struct* common)
{
    common->err = &manager;
}

bool runTrapped(JpegTrap& trap, void (*body)(void*), void* context)
{
    if (setjmp(trap.jump) != 0)
        return false;
    body(context);
    return true;
}

void abandon(jpeg_common_struct* common, int messageCode)
{
    common->err->msg_code = messageCode;
    errorExit(common);
}

} // namespace vorlu::photo::detail
