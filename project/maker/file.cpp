#include "project/maker/file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <system_error>
#include <vector>

namespace fs = std::filesystem;

namespace {
thread_local int t_lastRet = 0;

int Ret(int code) {
    t_lastRet = code;
    return code;
}

char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool EqualNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
    return true;
}

bool Exists(const std::string& p) {
    std::error_code ec;
    return fs::symlink_status(p, ec).type() != fs::file_type::not_found && !ec;
}

// The entry of `folder` whose name equals `name` ignoring ASCII case; the smallest such name when
// several do (a case-sensitive folder may hold "A" and "a"), so the choice does not depend on the
// order of the folder listing. Empty when there is none.
std::string FindNoCase(const std::string& folder, std::string_view name) {
    std::error_code ec;
    fs::directory_iterator it(folder.empty() ? "." : folder, ec);
    std::string best;
    if (ec) return best;
    for (fs::directory_iterator end; it != end; it.increment(ec)) {
        if (ec) break;
        std::string entry = it->path().filename().string();
        if (EqualNoCase(entry, name) && (best.empty() || entry < best)) best = entry;
    }
    return best;
}

void PutLE(unsigned char* b, std::uint64_t v, int n) {
    for (int i = 0; i < n; ++i) b[i] = static_cast<unsigned char>(v >> (8 * i));
}
std::uint64_t GetLE(const unsigned char* b, int n) {
    std::uint64_t v = 0;
    for (int i = 0; i < n; ++i) v |= static_cast<std::uint64_t>(b[i]) << (8 * i);
    return v;
}
}  // namespace

CFile::~CFile() {
    if (IsOpen()) FILE_Close(*this);
}

std::size_t CFile::Remaining() const { return m_pos < m_size ? m_size - m_pos : 0; }

int FILE_GetModulePathName(std::string& folder) {
    const char* home = std::getenv("HALVO_HOME");
    std::string result;
    if (home != nullptr && *home != '\0') {
        result = home;
    } else {
        std::error_code ec;
        fs::path exe = fs::read_symlink("/proc/self/exe", ec);
        if (ec) return 0;
        result = exe.parent_path().string();
    }
    while (result.size() > 1 && (result.back() == '/' || result.back() == '\\')) result.pop_back();
    folder = result;
    return 1;
}

int FILE_PathFile(std::string& out, std::string_view folder, std::string_view name) {
    std::string joined(folder);
    bool folderEnds = !joined.empty() && (joined.back() == '\\' || joined.back() == '/');
    bool nameBegins = !name.empty() && (name.front() == '\\' || name.front() == '/');
    if (folderEnds && nameBegins)
        name.remove_prefix(1);
    else if (!folderEnds && !nameBegins)
        joined += '\\';
    joined.append(name);
    out = std::move(joined);
    return 1;
}

std::string FILE_HostPath(std::string_view path) {
    std::string p(path);
    for (char& c : p)
        if (c == '\\') c = '/';
    bool absolute = !p.empty() && p.front() == '/';

    std::vector<std::string> parts;
    std::size_t start = 0;
    while (start <= p.size()) {
        std::size_t slash = p.find('/', start);
        if (slash == std::string::npos) slash = p.size();
        if (slash > start) parts.emplace_back(p.substr(start, slash - start));
        start = slash + 1;
    }

    std::string cur = absolute ? "/" : "";
    bool resolving = true;
    for (const std::string& part : parts) {
        std::string candidate = cur.empty() || cur.back() == '/' ? cur + part : cur + "/" + part;
        if (resolving && part != "." && part != ".." && !Exists(candidate)) {
            std::string match = FindNoCase(cur, part);
            if (match.empty())
                resolving = false;  // the rest names something still to be created
            else
                candidate = cur.empty() || cur.back() == '/' ? cur + match : cur + "/" + match;
        }
        cur = std::move(candidate);
    }
    if (cur.empty()) cur = absolute ? "/" : ".";
    return cur;
}

std::string FILE_ProgramPath(std::string_view storedRelative) {
    std::string folder;
    FILE_GetModulePathName(folder);
    std::string joined;
    FILE_PathFile(joined, folder, storedRelative);
    return FILE_HostPath(joined);
}

int FILE_FileExists(std::string_view path) { return Exists(FILE_HostPath(path)) ? 1 : 0; }

int FILE_Open(CFile& file, const std::string& path, int modeA, int modeB) {
    if (file.IsOpen()) FILE_Close(file);
    bool write = modeA == 1 && modeB == 1;
    if (!write && !(modeA == 0 && modeB == 0)) return Ret(-1);
    std::string host = FILE_HostPath(path);
    std::FILE* fp = std::fopen(host.c_str(), write ? "wb" : "rb");
    if (fp == nullptr) return Ret(-1);
    std::size_t size = 0;
    if (!write) {
        std::error_code ec;
        if (fs::is_directory(host, ec)) {
            std::fclose(fp);
            errno = EISDIR;  // callers word the failure from errno
            return Ret(-1);
        }
        if (std::fseek(fp, 0, SEEK_END) != 0) {
            std::fclose(fp);
            return Ret(-1);
        }
        long end = std::ftell(fp);
        if (end < 0 || std::fseek(fp, 0, SEEK_SET) != 0) {
            std::fclose(fp);
            return Ret(-1);
        }
        size = static_cast<std::size_t>(end);
    }
    file.m_fp = fp;
    file.m_mem = nullptr;
    file.m_size = size;
    file.m_pos = 0;
    file.m_writing = write;
    file.m_path = host;
    return Ret(0);
}

int FILE_OpenMemory(CFile& file, const void* data, std::size_t size, std::string_view name) {
    if (file.IsOpen()) FILE_Close(file);
    static const unsigned char kEmpty = 0;
    file.m_mem = data != nullptr ? static_cast<const unsigned char*>(data) : &kEmpty;
    file.m_size = data != nullptr ? size : 0;
    file.m_pos = 0;
    file.m_writing = false;
    file.m_path = std::string(name);
    return Ret(0);
}

int FILE_OpenMemoryWrite(CFile& file, std::vector<unsigned char>& out) {
    if (file.IsOpen()) FILE_Close(file);
    file.m_out = &out;
    file.m_size = file.m_pos = 0;
    file.m_writing = true;
    file.m_path.clear();
    return Ret(0);
}

int FILE_Close(CFile& file) {
    int rc = 0;
    file.m_out = nullptr;
    if (file.m_fp != nullptr) rc = std::fclose(file.m_fp) == 0 ? 0 : -1;
    file.m_fp = nullptr;
    file.m_mem = nullptr;
    file.m_size = file.m_pos = 0;
    file.m_writing = false;
    return Ret(rc);
}

int FILE_Read(CFile& file, void* address, std::size_t count, int) {
    if (!file.IsOpen() || file.m_writing || count > file.Remaining()) return Ret(-1);
    if (count == 0) return Ret(0);
    if (file.m_mem != nullptr) {
        std::memcpy(address, file.m_mem + file.m_pos, count);
    } else if (std::fread(address, 1, count, file.m_fp) != count) {
        file.m_pos = file.m_size;  // the file shrank under us: nothing more to trust
        return Ret(-1);
    }
    file.m_pos += count;
    return Ret(0);
}

int FILE_Write(CFile& file, const void* address, std::size_t count) {
    if (!file.m_writing) return Ret(-1);
    if (count == 0) return Ret(0);
    if (file.m_out != nullptr) {
        const unsigned char* p = static_cast<const unsigned char*>(address);
        file.m_out->insert(file.m_out->end(), p, p + count);
    } else if (file.m_fp == nullptr || std::fwrite(address, 1, count, file.m_fp) != count) {
        return Ret(-1);
    }
    file.m_pos += count;
    file.m_size = file.m_pos;
    return Ret(0);
}

int FILE_Flush(CFile& file) {
    if (file.m_out != nullptr) return Ret(0);
    if (file.m_fp == nullptr || !file.m_writing) return Ret(-1);
    if (std::fflush(file.m_fp) != 0) return Ret(-1);
    if (::fsync(fileno(file.m_fp)) != 0 && errno != EINVAL) return Ret(-1);
    return Ret(0);
}

int FILE_ReadStr(CFile& file, char* buffer, int capacity, int) {
    if (buffer == nullptr || capacity < 0) return Ret(-1);
    buffer[0] = '\0';
    if (!file.IsOpen() || file.m_writing || file.Remaining() == 0) return Ret(-1);
    int n = 0;
    while (n < capacity && file.Remaining() > 0) {
        char c = 0;
        if (FILE_Read(file, &c, 1, 0) != 0) return Ret(-1);
        if (c == '\n') break;
        buffer[n++] = c;
    }
    if (n > 0 && buffer[n - 1] == '\r') --n;
    buffer[n] = '\0';
    return Ret(0);
}

int FILE_WriteStr(CFile& file, std::string_view text) { return FILE_Write(file, text.data(), text.size()); }

int FILE_WriteCString(CFile& file, std::string_view text) {
    if (text.size() > kFileMaxCStringBytes) return Ret(-1);
    if (FILE_WriteI32(file, static_cast<std::int32_t>(text.size())) != 0) return Ret(-1);
    return FILE_Write(file, text.data(), text.size());
}

int FILE_ReadCString(CFile& file, std::string& text) {
    std::int32_t len = 0;
    if (FILE_ReadI32(file, len) != 0) return Ret(-1);
    if (len < 0 || static_cast<std::uint32_t>(len) > kFileMaxCStringBytes ||
        static_cast<std::size_t>(len) > file.Remaining())
        return Ret(-1);
    std::string s(static_cast<std::size_t>(len), '\0');
    if (FILE_Read(file, s.data(), s.size(), 0) != 0) return Ret(-1);
    text = std::move(s);
    return Ret(0);
}

int FILE_ReadI16(CFile& file, std::int16_t& v) {
    unsigned char b[2];
    if (FILE_Read(file, b, 2, 0) != 0) return -1;
    v = static_cast<std::int16_t>(static_cast<std::uint16_t>(GetLE(b, 2)));
    return 0;
}
int FILE_ReadI32(CFile& file, std::int32_t& v) {
    unsigned char b[4];
    if (FILE_Read(file, b, 4, 0) != 0) return -1;
    v = static_cast<std::int32_t>(static_cast<std::uint32_t>(GetLE(b, 4)));
    return 0;
}
int FILE_ReadF32(CFile& file, float& v) {
    unsigned char b[4];
    if (FILE_Read(file, b, 4, 0) != 0) return -1;
    std::uint32_t bits = static_cast<std::uint32_t>(GetLE(b, 4));
    std::memcpy(&v, &bits, 4);
    return 0;
}
int FILE_ReadF64(CFile& file, double& v) {
    unsigned char b[8];
    if (FILE_Read(file, b, 8, 0) != 0) return -1;
    std::uint64_t bits = GetLE(b, 8);
    std::memcpy(&v, &bits, 8);
    return 0;
}
int FILE_WriteI16(CFile& file, std::int16_t v) {
    unsigned char b[2];
    PutLE(b, static_cast<std::uint16_t>(v), 2);
    return FILE_Write(file, b, 2);
}
int FILE_WriteI32(CFile& file, std::int32_t v) {
    unsigned char b[4];
    PutLE(b, static_cast<std::uint32_t>(v), 4);
    return FILE_Write(file, b, 4);
}
int FILE_WriteF32(CFile& file, float v) {
    std::uint32_t bits;
    std::memcpy(&bits, &v, 4);
    unsigned char b[4];
    PutLE(b, bits, 4);
    return FILE_Write(file, b, 4);
}
int FILE_WriteF64(CFile& file, double v) {
    std::uint64_t bits;
    std::memcpy(&bits, &v, 8);
    unsigned char b[8];
    PutLE(b, bits, 8);
    return FILE_Write(file, b, 8);
}

int GEN_GetRetCode() { return t_lastRet; }

int FILE_ReplaceContents(std::string_view path, const unsigned char* data, std::size_t size,
                         std::string& why) {
    auto fail = [&](const std::string& what) {
        why = what;
        return 1;
    };
    std::string host = FILE_HostPath(path);
    std::string tmp = host + ".XXXXXX";
    int fd = ::mkstemp(tmp.data());
    if (fd < 0) return fail(std::string("cannot create a temporary file beside it: ") + std::strerror(errno));

    // Keep the permissions of the file being replaced; a new file gets the usual ones.
    struct stat st;
    mode_t mode;
    if (::stat(host.c_str(), &st) == 0) {
        mode = st.st_mode & 07777;
    } else {
        mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    ::fchmod(fd, mode);

    const unsigned char* p = data;
    std::size_t left = size;
    while (left > 0) {
        ssize_t n = ::write(fd, p, left);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            std::string why = std::strerror(errno);
            ::close(fd);
            ::unlink(tmp.c_str());
            return fail("write failed: " + why);
        }
        p += n;
        left -= static_cast<std::size_t>(n);
    }
    if (::fsync(fd) != 0 && errno != EINVAL) {
        std::string why = std::strerror(errno);
        ::close(fd);
        ::unlink(tmp.c_str());
        return fail("flush failed: " + why);
    }
    if (::close(fd) != 0) {
        std::string why = std::strerror(errno);
        ::unlink(tmp.c_str());
        return fail("close failed: " + why);
    }
    if (std::rename(tmp.c_str(), host.c_str()) != 0) {
        std::string why = std::strerror(errno);
        ::unlink(tmp.c_str());
        return fail("cannot replace the file: " + why);
    }
    return 0;
}
