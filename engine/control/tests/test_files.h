#pragma once
// Small helpers of the control suites: files in the suite's scratch folder.

#include <fstream>
#include <iterator>
#include <string>

inline void WriteTextFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

inline std::string ReadTextFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}
