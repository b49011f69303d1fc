#include "nimbra/regions.h"

#include <cstdio>

namespace nimbra {

const std::vector<std::string>& RegionList() {
    static const std::vector<std::string> list = {
        "Please Select a region", "Canada", "USA",    "Japan", "Central America",
        "South America",          "Europe", "Africa", "Asia",  "Australia"};
    return list;
}

const std::vector<SSubRegion>& Provinces() {
    static const std::vector<SSubRegion> list = {
        {"Select a Province", "", "", ""},
        {"Atlantic Canada", "Atlantic", "AT", "No Atlantic Province City Name Entered"},
        {"Quebec", "Quebec", "QC", "No Quebec Province City Name Entered"},
        {"Ontario", "Ontario", "ON", "No Ontario Province City Name Entered"},
        {"Manitoba", "Manitoba", "MB", "No Manitoba City Name Entered"},
        {"Saskatchewan", "Saskatchewan", "SK", "No Saskatchewan City Name Entered"},
        {"Alberta", "Alberta", "AB", "No Alberta City Name Entered"},
        {"British Columbia", "British Columbia", "BC", "No British Columbian City Name Entered"},
        {nullptr, "Yukon", "YT", "No Yukon City Name Entered"},
        // The picker's folder is "Nwt"; paths resolve it regardless of letter case.
        {nullptr, "NWT", "WT", "No Northwest Territory City Name Entered"},
    };
    return list;
}

const std::vector<SSubRegion>& States() {
    static const char* const kMsg = "No State City Name Entered";
    // List order of the state combo; the spellings in quotes of the list are the program's own.
    static const std::vector<SSubRegion> list = {
        {"Select a State", "", "", ""},
        {"Alabama", "East South Central", "AL", kMsg},
        {"Alaska", "Pacific", "AK", kMsg},
        {"Arizona", "Mountain", "AZ", kMsg},
        {"Arkansas", "West South Central", "AR", kMsg},
        {"California", "Pacific", "CA", kMsg},
        {"Colorado", "Mountain", "CO", kMsg},
        {"Conneticuit", "New England", "CN", kMsg},
        {"Delaware", "South Atlantic", "DL", kMsg},
        {"District of Columbia", "Middle Atlantic", "DC", kMsg},
        {"Florida", "South Atlantic", "FL", kMsg},
        {"Georgia", "South Atlantic", "GE", kMsg},
        {"Hawaii", "Pacific", "HI", kMsg},
        {"Idaho", "Mountain", "ID", kMsg},
        {"Illinois", "East North Central", "IL", kMsg},
        {"Indiana", "East North Central", "IN", kMsg},
        {"Iowa", "West North Central", "IW", kMsg},
        {"Kansas", "West North Central", "KS", kMsg},
        {"Kentucky", "East South Central", "KY", kMsg},
        {"Louisiana", "West South Central", "LS", kMsg},
        {"Maine", "New England", "ME", kMsg},
        {"Maryland", "South Atlantic", "MD", kMsg},
        {"Massachuetts", "New England", "MA", kMsg},
        {"Michigan", "East North Central", "MI", kMsg},
        {"Minnesota", "West North Central", "MN", kMsg},
        {"Mississippi", "East South Central", "MS", kMsg},
        {"Misouri", "West North Central", "MS", kMsg},
        {"Montana", "Mountain", "MT", kMsg},
        {"Nevada", "Mountain", "NV", kMsg},
        {"Nebraska", "West North Central", "NE", kMsg},
        {"New Hampshire", "New England", "NH", kMsg},
        {"New Jersey", "Middle Atlantic", "NJ", kMsg},
        {"New Mexico", "Mountain", "NM", kMsg},
        {"New York", "Middle Atlantic", "NY", kMsg},
        {"North Carolina", "South Atlantic", "NC", kMsg},
        {"North Dakota", "West North Central", "ND", kMsg},
        {"Ohio", "East North Central", "OH", kMsg},
        {"Oklahoma", "West South Central", "OK", kMsg},
        {"Oregon", "Pacific", "OR", kMsg},
        {"Pennsylvania", "Middle Atlantic", "PN", kMsg},
        {"Rhode Island", "New England", "RI", kMsg},
        {"South Carolina", "South Atlantic", "SC", kMsg},
        {"South Dakota", "West North Central", "SD", kMsg},
        {"Tennessee", "East South Central", "TN", kMsg},
        {"Texas", "West South Central", "TX", kMsg},
        {"Utah", "Mountain", "UT", kMsg},
        {"Vermont", "New England", "VE", kMsg},
        {"Virginia", "South Atlantic", "VG", kMsg},
        {"Washington", "Pacific", "WA", kMsg},
        {"West Virginia", "South Atlantic", "WV", kMsg},
        {"Wisconsin", "East North Central", "WS", kMsg},
        {"Wyoming", "Mountain", "WY", kMsg},
    };
    return list;
}

const SWorldRegion* WorldRegion(int region) {
    static const SWorldRegion table[] = {
        {"Japan", "JP", "No Japanese City Name Entered"},
        {"Central America", nullptr, "No Central American City Name Entered"},
        {"South America", nullptr, "No South American City Name Entered"},
        {"Europe", nullptr, "No European City Name Entered"},
        {"Africa", nullptr, "No African City Name Entered"},
        {"Asia", nullptr, "No Asian City Name Entered"},
        {"Australia", "AU", "No Autralian City Name Entered"},
    };
    if (region < kRegionJapan || region > kRegionAustralia) return nullptr;
    return &table[region - kRegionJapan];
}

const std::vector<std::string>& AllRegionFolders() {
    static const std::vector<std::string> folders = {
        "North America",
        "North America\\Canada",
        "North America\\Canada\\Atlantic",
        "North America\\Canada\\Quebec",
        "North America\\Canada\\Ontario",
        "North America\\Canada\\Manitoba",
        "North America\\Canada\\Saskatchewan",
        "North America\\Canada\\Alberta",
        "North America\\Canada\\British Columbia",
        "North America\\Canada\\Yukon",
        "North America\\Canada\\Nwt",
        "North America\\USA",
        "North America\\USA\\Pacific",
        "North America\\USA\\Mountain",
        "North America\\USA\\West North Central",
        "North America\\USA\\West South Central",
        "North America\\USA\\East North Central",
        "North America\\USA\\East South Central",
        "North America\\USA\\South Atlantic",
        "North America\\USA\\Middle Atlantic",
        "North America\\USA\\New England",
        "Central America",
        "South America",
        "Europe",
        "Africa",
        "Asia",
        "Japan",
        "Australia",
    };
    return folders;
}

std::string FolderList(const std::vector<std::string>& names) {
    if (names.size() > 999) return {};
    char buf[8];
    std::snprintf(buf, sizeof buf, "%03zu", names.size());
    std::string out = buf;
    for (const std::string& name : names) {
        if (name.size() > 99) return {};
        std::snprintf(buf, sizeof buf, "%02zu", name.size());
        out += buf;
        out += name;
        out += ',';
    }
    return out;
}

}  // namespace nimbra
