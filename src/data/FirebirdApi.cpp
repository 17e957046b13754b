#include "FirebirdApi.h"

#include "Win1252.h"

#include <ibase.h>

#include <algorithm>
#include <cstdlib>
#include <mutex>
#include <string>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

namespace vorlu::data::fb {
namespace {

// The embedded engine keeps its lock files in /tmp/firebird by default. Once another user
// (root, say) has used the engine there, an ordinary desktop user is refused ("operating
// system directive access failed"), so each user gets a lock folder of their own unless one
// was chosen explicitly.
void choosePerUserLockFolder()
{
#ifndef _WIN32
    if (std::getenv("FIREBIRD_LOCK"))
        return;
    std::string folder;
    if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); runtime && *runtime)
        folder = std::string(runtime) + "/vorlu-firebird";
    else
        folder = "/tmp/vorlu-firebird-" + std::to_string(getuid());
    ::mkdir(folder.c_str(), 0700);
    ::setenv("FIREBIRD_LOCK", folder.c_str(), 0);
#endif
}

} // namespace

Firebird::IMaster* master()
{
    static Firebird::IMaster* instance = [] {
        choosePerUserLockFolder();
        return Firebird::fb_get_master_interface();
    }();
    return instance;
}

Firebird::IUtil* util()
{
    static Firebird::IUtil* instance = master()->getUtilInterface();
    return instance;
}

Firebird::IProvider* provider()
{
    // One dispatcher for the life of the process: releasing it would shut the engine down
    // under open attachments of other components.
    static Firebird::IProvider* instance = master()->getDispatcher();
    return instance;
}

Status::Status() : status_(master()->getStatus()), wrapper_(status_) {}

Status::~Status() { status_->dispose(); }

DatabaseError errorFromStatus(Firebird::IStatus* status)
{
    // The message lines, as the client library interprets them one after the other.
    std::string text;
    const ISC_STATUS* vector = status->getErrors();
    char line[1024];
    while (vector && *vector) {
        const ISC_LONG length = fb_interpret(line, sizeof line, &vector);
        if (length <= 0)
            break;
        if (!text.empty())
            text += '\n';
        text.append(line, static_cast<size_t>(length));
    }
    if (!text.empty() && text.back() == '.')
        text.pop_back();
    // Messages quote values in the database's bytes (Windows-1252), which may not be UTF-8.
    bool utf8 = true;
    for (size_t i = 0; i < text.size() && utf8;) {
        const auto c = static_cast<unsigned char>(text[i]);
        size_t n = c < 0x80 ? 1 : (c >> 5) == 0x6 ? 2 : (c >> 4) == 0xE ? 3 : (c >> 3) == 0x1E ? 4 : 0;
        if (n == 0 || i + n > text.size())
            utf8 = false;
        for (size_t k = 1; utf8 && k < n; ++k)
            if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80)
                utf8 = false;
        i += n ? n : 1;
    }
    if (!utf8)
        text = fromWin1252(text);

    std::vector<std::intptr_t> codes;
    for (const intptr_t* v = status->getErrors(); v && *v != isc_arg_end;) {
        const intptr_t kind = v[0];
        if (kind == isc_arg_gds)
            codes.push_back(v[1]);
        if (kind == isc_arg_cstring)
            v += 3;
        else
            v += 2;
    }
    const int sqlCode = codes.empty() ? 0 : static_cast<int>(isc_sqlcode(status->getErrors()));
    return DatabaseError(std::move(text), std::move(codes), sqlCode);
}

} // namespace vorlu::data::fb
