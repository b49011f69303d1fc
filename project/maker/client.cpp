#include "project/maker/client.h"

#include "project/maker/file.h"

namespace {
constexpr std::string C_ClientData::* kFields[C_ClientData::kFieldCount] = {
    &C_ClientData::name,      &C_ClientData::job,        &C_ClientData::address1,
    &C_ClientData::address2,  &C_ClientData::city,       &C_ClientData::provinceState,
    &C_ClientData::country,   &C_ClientData::postalCode, &C_ClientData::telephone,
    &C_ClientData::fax,       &C_ClientData::email,      &C_ClientData::contact,
};
constexpr const char* kLabels[C_ClientData::kFieldCount] = {
    "Name", "Job", "Address 1", "Address 2", "City", "Province/State",
    "Country", "Postal Code", "Telephone", "Fax", "E-mail", "Contact",
};
// A later library version may store more fields; those are read and dropped. Anything beyond this
// is taken as a corrupt count.
constexpr std::int32_t kMaxStoredFields = 64;
}  // namespace

std::string& C_ClientData::Field(int i) { return this->*kFields[i]; }
const std::string& C_ClientData::Field(int i) const { return this->*kFields[i]; }
const char* C_ClientData::FieldLabel(int i) { return (i >= 0 && i < kFieldCount) ? kLabels[i] : ""; }

int C_ClientData::Write2File(CFile& file) const {
    if (FILE_WriteI32(file, kFieldCount) != 0) return -1;
    for (int i = 0; i < kFieldCount; ++i)
        if (FILE_WriteCString(file, Field(i)) != 0) return -1;
    return 0;
}

int C_ClientData::Read4File(CFile& file) {
    std::int32_t count = 0;
    if (FILE_ReadI32(file, count) != 0 || count < 0 || count > kMaxStoredFields) return -1;
    C_ClientData read;
    for (std::int32_t i = 0; i < count; ++i) {
        std::string text;
        if (FILE_ReadCString(file, text) != 0) return -1;
        if (i < kFieldCount) read.Field(i) = std::move(text);
    }
    *this = std::move(read);
    return 0;
}
