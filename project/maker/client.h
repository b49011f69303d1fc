#pragma once
// The client record of a project: who the installation is for. The program shows it on the report
// and stores it; only this library looks inside it.

#include <string>

class CFile;

class C_ClientData {
public:
    std::string name;           // client name
    std::string job;            // project / job name
    std::string address1;       // address line 1
    std::string address2;       // address line 2
    std::string city;
    std::string provinceState;  // province or state
    std::string country;
    std::string postalCode;
    std::string telephone;
    std::string fax;
    std::string email;
    std::string contact;        // contact person

    static constexpr int kFieldCount = 12;
    // Field i (0..11) in the order above, which is also the stored order; and its label ("Name", ...).
    std::string& Field(int i);
    const std::string& Field(int i) const;
    static const char* FieldLabel(int i);

    // Stored form: a 32-bit field count (12), then each field as a FILE_WriteCString item.
    // Both return 0 on success; a failed read leaves the record unchanged.
    int Write2File(CFile& file) const;
    int Read4File(CFile& file);

    bool operator==(const C_ClientData&) const = default;
};
