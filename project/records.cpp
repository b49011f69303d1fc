#include "project/records.h"

namespace {
// Member order of the tables, matching EResultTable.
constexpr MonthlyTable CProjectResults::* kTables[kResultTableCount] = {
    &CProjectResults::solarIncidentTotal, &CProjectResults::solarIncidentOperating,
    &CProjectResults::solarCollected,     &CProjectResults::insulationSavings,
    &CProjectResults::destratSavings,     &CProjectResults::totalSavings,
    &CProjectResults::operatingSolar,     &CProjectResults::baseLoadDay,
    &CProjectResults::baseLoadNight,      &CProjectResults::recapturedDay,
    &CProjectResults::collectorFlow,      &CProjectResults::degreeDays,
    &CProjectResults::flowDay,            &CProjectResults::flowNight,
    &CProjectResults::solarRiseDay,       &CProjectResults::solarRiseNight,
    &CProjectResults::hoursDay,           &CProjectResults::hoursNight,
};

constexpr std::string C_Doc4Dealer::* kDealerFields[C_Doc4Dealer::kFieldCount] = {
    &C_Doc4Dealer::address,    &C_Doc4Dealer::city,          &C_Doc4Dealer::company,
    &C_Doc4Dealer::country,    &C_Doc4Dealer::email,         &C_Doc4Dealer::fax,
    &C_Doc4Dealer::name,       &C_Doc4Dealer::postalCode,    &C_Doc4Dealer::provinceState,
    &C_Doc4Dealer::telephone,  &C_Doc4Dealer::webSite,
};
constexpr const char* kDealerLabels[C_Doc4Dealer::kFieldCount] = {
    "Address", "City", "Company", "Country", "e-mail", "Fax", "Name",
    "Postal Code", "Province/State", "Telephone", "WebSite",
};
}  // namespace

MonthlyTable& CProjectResults::Table(EResultTable id) { return this->*kTables[static_cast<int>(id)]; }

const MonthlyTable& CProjectResults::Table(EResultTable id) const {
    return this->*kTables[static_cast<int>(id)];
}

void CProjectResults::ClearAllWallsRow() {
    for (auto table : kTables)
        for (int m = 0; m < 12; ++m) (this->*table)[0][m] = 0.0f;
}

std::string& C_Doc4Dealer::Field(int i) { return this->*kDealerFields[i]; }
const std::string& C_Doc4Dealer::Field(int i) const { return this->*kDealerFields[i]; }
const char* C_Doc4Dealer::FieldLabel(int i) {
    return (i >= 0 && i < kFieldCount) ? kDealerLabels[i] : "";
}
