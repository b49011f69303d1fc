#pragma once
// The JSON form of a project as `halvo-cli show` prints it and `halvo-cli new --from` reads it.
// Values are SI as stored; 32-bit reals are printed with 9 significant digits and 64-bit reals
// with 17, so that they read back to the same bits. Texts are stored as 8-bit characters
// (Latin-1); JSON shows them as Unicode and accepts characters up to U+00FF.

#include <string>

class CHalvo98Doc;

// The whole stored project (every field of the project file), as an indented JSON document.
std::string ProjectToJson(const CHalvo98Doc& doc);

// Applies a JSON document (all keys optional) over `doc`. Returns true on success; otherwise
// `problem` names the field and what is wrong, and `doc` may be partly changed.
bool ApplyProjectJson(CHalvo98Doc& doc, const std::string& jsonText, std::string& problem);
