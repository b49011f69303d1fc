#include "solar/scl_error.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "project/maker/file.h"

namespace {

// One line of the error text file holds at most this many characters.
constexpr int kMaxLine = 256;

// The message of the one report a process can make; written only just before the process ends.
char g_message[kMaxLine];

// Copies the message of `code` from the open file `f` into `out` (capacity kMaxLine).
// Returns false when no line carries the code.
bool FindMessage(std::FILE* f, unsigned code, char* out) {
    char line[kMaxLine + 1];
    bool continuation = false;  // inside the tail of an overlong line
    while (std::fgets(line, sizeof line, f)) {
        size_t len = std::strlen(line);
        bool complete = len > 0 && line[len - 1] == '\n';
        bool tail = continuation;
        continuation = !complete;
        // The rest of a line longer than the limit is not a line of its own.
        if (tail) continue;
        char* end = nullptr;
        unsigned long value = std::strtoul(line, &end, 0);
        if (end == line || value != code || *end == '\0' || *end == '\n') continue;
        const char* text = end + 1;  // exactly one separator character
        size_t n = std::strlen(text);
        if (n > 0 && text[n - 1] == '\n') --n;
        if (n > 0 && text[n - 1] == '\r') --n;
        if (n > kMaxLine - 1) n = kMaxLine - 1;
        std::memcpy(out, text, n);
        out[n] = '\0';
        return true;
    }
    return false;
}

void LookupInto(unsigned code, const char* path, char* out) {
    std::FILE* f = std::fopen(path, "r");
    if (!f) {
        std::snprintf(out, kMaxLine, "%s", "Error file not found");
        return;
    }
    if (!FindMessage(f, code, out)) std::snprintf(out, kMaxLine, "%s", "Unknown error");
    std::fclose(f);
}

}  // namespace

std::string SCL_LookupMessage(unsigned code, const char* path) {
    char out[kMaxLine];
    LookupInto(code, path, out);
    return out;
}

void SCL_ReportError(unsigned code, const char* source_file, int line) {
    const char* slash = std::strrchr(source_file, '/');
    const char* name = slash ? slash + 1 : source_file;

    std::FILE* probe = std::fopen("scl.err", "r");
    if (probe) {
        std::fclose(probe);
        LookupInto(code, "scl.err", g_message);
    } else {
        std::string folder;
        if (FILE_GetModulePathName(folder)) {
            const std::string fallback = folder + "/scl.err";
            LookupInto(code, fallback.c_str(), g_message);
        } else {
            std::snprintf(g_message, kMaxLine, "%s", "Error file not found");
        }
    }

    if (std::FILE* dbg = std::fopen("SCL.dbg", "w")) {
        std::fprintf(dbg, "Error ocurred in file: %s at line#: %d. Message = '%s'", name, line,
                     g_message);
        std::fclose(dbg);
    }
    // exit() flushes and closes every open stream.
    std::exit(SCL_EXIT_STATUS);
}
