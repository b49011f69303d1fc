#pragma once
// The project file (.hvf): reader, writer and the Save/Close logic around them, without UI.
//
// Layout: header "Halvo File Ver 1.3 " (19 characters), then the application type (16-bit), units
// flag, currency, 4 wall present flags, the location block, client, 4 schedules, 4 air system
// blocks, 4 collector blocks, the economic block and the 11 dealer texts; little-endian, packed.
// Version 1.2 files lack the collector test area. The writer always writes version 1.3.

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

class CHalvo98Doc;
class CMessenger;

constexpr int kReadOk = 1;
constexpr int kReadCannotOpen = -1;   // silent: the caller reports it
constexpr int kReadBadHeader = -2;    // "Invalid Halvo File" was shown
constexpr int kReadCorrupt = -3;      // short or corrupt file; a message naming file and problem was shown

// Reads the project file `path` (host path) into `doc`. The file is read into a scratch project
// starting from the record defaults, and adopted only when the whole file was read; on any failure
// `doc` is left exactly as it was. On success the file version is 1020 or 1030 and results valid 0;
// the path name and modified flag are not changed (the Open command sets them). An empty path
// returns kReadOk (file version 0) without reading. `problem`, when given, receives a one-line
// description of a failure (without the path).
int ReadProject(CHalvo98Doc& doc, const std::string& path, CMessenger& msg,
                std::string* problem = nullptr);
// The same from bytes in memory; `name` stands for the path in messages.
int ReadProjectBytes(CHalvo98Doc& doc, const void* data, std::size_t size, const std::string& name,
                     CMessenger& msg, std::string* problem = nullptr);

// The Open command after the file chooser: path name := `path`, then ReadProject into the same
// project (no save prompt). On success the project is marked unmodified; otherwise the path name
// is cleared and the rest of the project stays as it was. Returns ReadProject's code.
int OpenProject(CHalvo98Doc& doc, const std::string& path, CMessenger& msg, std::string* problem = nullptr);

// The bytes of `doc` in the version 1.3 layout. Every fixed-size text field is padded with zero
// bytes, so the bytes depend only on the project's values.
std::vector<unsigned char> ProjectFileBytes(const CHalvo98Doc& doc);

// Writes the project to `path` through a temporary file beside it, flushed and renamed over the old
// file, so a failure never destroys the previous file. Returns true on success; `problem` names
// what failed. Does not touch the document's flags.
bool WriteProjectFile(const CHalvo98Doc& doc, const std::string& path, std::string* problem = nullptr);

enum class ESaveResult { Saved, Cancelled, NoPath, Failed };
// The Save command: with no path name returns NoPath (the caller runs Save As); for a project read
// from a version 1.2 file asks the "previous version" question (OK/Cancel); then writes. On success
// the project is marked unmodified and its file version becomes 1030. A write failure is reported
// through `msg` naming the file.
ESaveResult WriteProject(CHalvo98Doc& doc, CMessenger& msg);

// Closing a modified project: asks whether to save (Yes/No). Yes runs WriteProject, No marks the
// project unmodified. A project without a path name is saved through `saveAs` (the Save As command,
// given by the UI); without it closing does not proceed. Returns true when closing may proceed.
bool SaveModified(CHalvo98Doc& doc, CMessenger& msg,
                  const std::function<bool(CHalvo98Doc&)>& saveAs = nullptr);

// The file chooser's rule on a chosen name: returns true when the text after the last "." equals
// "HVF" ignoring case; otherwise shows the "Data-files must end in" message and returns false.
bool AcceptProjectFileName(const std::string& path, CMessenger& msg);
// A name typed without any extension gets the default extension ".HVF".
std::string WithDefaultProjectExtension(const std::string& path);
