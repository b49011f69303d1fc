#pragma once
// The file library: binary and text file access for the project, weather and control files, and
// the translation of stored paths to host paths.
//
// Stored paths keep the backslash form of the file formats ("\Weather\Canada\Toronto.wsw", relative
// to the program folder). They are translated only where a file is opened, with FILE_HostPath or
// FILE_ProgramPath, so that the files stay byte-compatible. Those paths were written on a file system
// that ignores letter case: where a path component does not exist under its exact name, the
// translation looks for it in its folder ignoring ASCII letter case (one folder scan per component).
//
// All FILE_ functions return 0 on success unless stated, and never throw. GEN_GetRetCode reports
// whether the last FILE_ operation of the calling thread failed.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

// An open file: a host file, or a read-only view of bytes in memory (for readers that are handed a
// buffer, such as a fuzzer). Not copyable; closes itself when destroyed.
class CFile {
public:
    CFile() = default;
    ~CFile();
    CFile(const CFile&) = delete;
    CFile& operator=(const CFile&) = delete;

    bool IsOpen() const { return m_fp != nullptr || m_mem != nullptr || m_out != nullptr; }
    // Bytes left to read; for host files this is computed from the file size at open.
    std::size_t Remaining() const;
    const std::string& Path() const { return m_path; }
    // Bytes read or written so far.
    std::size_t Position() const { return m_pos; }

private:
    friend int FILE_Open(CFile&, const std::string&, int, int);
    friend int FILE_OpenMemory(CFile&, const void*, std::size_t, std::string_view);
    friend int FILE_OpenMemoryWrite(CFile&, std::vector<unsigned char>&);
    friend int FILE_Close(CFile&);
    friend int FILE_Read(CFile&, void*, std::size_t, int);
    friend int FILE_Write(CFile&, const void*, std::size_t);
    friend int FILE_ReadStr(CFile&, char*, int, int);
    friend int FILE_Flush(CFile&);

    std::FILE* m_fp = nullptr;
    std::vector<unsigned char>* m_out = nullptr;
    const unsigned char* m_mem = nullptr;
    std::size_t m_size = 0;  // size of the memory view or of the host file at open
    std::size_t m_pos = 0;
    bool m_writing = false;
    std::string m_path;
};

// Longest text item FILE_ReadCString accepts; a longer length prefix marks a corrupt file.
constexpr std::uint32_t kFileMaxCStringBytes = 65535;

// Program folder, without a trailing separator: the folder of the running executable, or the folder
// named by the environment variable HALVO_HOME when set and not empty. Non-zero on success.
int FILE_GetModulePathName(std::string& folder);

// out := folder + one separator + name (a backslash, as the stored paths have it; no second one when
// the folder already ends in a separator or the name begins with one). Non-zero on success.
int FILE_PathFile(std::string& out, std::string_view folder, std::string_view name);

// Host path of a path in either separator form (backslashes become '/'), each component resolved
// ignoring letter case when its exact name does not exist. Components after the first one that is
// not found are kept as given (so the result also names a file still to be created).
std::string FILE_HostPath(std::string_view path);

// Host path of a path stored relative to the program folder ("\Weather\...\Toronto.wsw").
std::string FILE_ProgramPath(std::string_view storedRelative);

// Non-zero when the file exists (path in either separator form).
int FILE_FileExists(std::string_view path);

// Replaces the file at `path` (either separator form) with `size` bytes at `data`, never leaving a
// cut file behind: the bytes go to a temporary file beside it, are flushed to the disk, and the
// temporary file is renamed over the old one, which keeps its permissions. 0 on success; otherwise
// the old file is untouched and `why` says what failed ("write failed: No space left on device").
int FILE_ReplaceContents(std::string_view path, const unsigned char* data, std::size_t size,
                         std::string& why);

// (file, path, 0, 0) opens an existing file for reading; (file, path, 1, 1) creates or replaces a
// file for writing. The path is translated with FILE_HostPath.
int FILE_Open(CFile& file, const std::string& path, int modeA, int modeB);
// Opens a read-only view of `size` bytes at `data` (not copied: they must outlive the file).
int FILE_OpenMemory(CFile& file, const void* data, std::size_t size, std::string_view name);
// Opens `out` for writing: written bytes are appended to it (it must outlive the file).
int FILE_OpenMemoryWrite(CFile& file, std::vector<unsigned char>& out);
int FILE_Close(CFile& file);

// Reads exactly `count` bytes; fails (and reads nothing) when fewer remain.
int FILE_Read(CFile& file, void* address, std::size_t count, int reserved);
int FILE_Write(CFile& file, const void* address, std::size_t count);
// Pushes written bytes to the disk (fflush + fsync).
int FILE_Flush(CFile& file);

// Reads one text line (up to and without "\n"; a "\r" before it is dropped) of at most `capacity`
// characters into `buffer`, which is always zero-terminated (capacity + 1 bytes needed). Stops after
// `capacity` characters when no line end comes first. Non-zero at the end of the file or on error.
int FILE_ReadStr(CFile& file, char* buffer, int capacity, int reserved);
// Writes the characters as they are.
int FILE_WriteStr(CFile& file, std::string_view text);

// One self-delimited text item: a 32-bit little-endian byte count, then the bytes, no terminator.
int FILE_WriteCString(CFile& file, std::string_view text);
// Fails without consuming the text when the count exceeds kFileMaxCStringBytes or the bytes left.
int FILE_ReadCString(CFile& file, std::string& text);

// Little-endian helpers for readers and writers of binary layouts.
int FILE_ReadI16(CFile& file, std::int16_t& v);
int FILE_ReadI32(CFile& file, std::int32_t& v);
int FILE_ReadF32(CFile& file, float& v);
int FILE_ReadF64(CFile& file, double& v);
int FILE_WriteI16(CFile& file, std::int16_t v);
int FILE_WriteI32(CFile& file, std::int32_t v);
int FILE_WriteF32(CFile& file, float v);
int FILE_WriteF64(CFile& file, double v);

// Non-zero when the last FILE_ operation of this thread failed.
int GEN_GetRetCode();
