#pragma once
// The generator's region tables: the folder of the weather tree a new file goes into, the
// two-character region code written into its latitude field, and the message shown when the city
// name is empty. Shared with the shipped-tree tools and the folder lists ("DIR.DIR").

#include <string>
#include <string_view>
#include <vector>

namespace nimbra {

// One entry of the province list (Canada) or the state list (USA).
struct SSubRegion {
    const char* listText;   // text of the combo entry (nullptr: not offered in the list)
    const char* folder;     // folder below "North America\Canada" or "North America\USA"
    const char* code;       // region code
    const char* emptyCity;  // message when the city name is empty
};

// Regions of the region combo, by index.
enum ERegion {
    kRegionNone = 0,
    kRegionCanada = 1,
    kRegionUSA = 2,
    kRegionJapan = 3,
    kRegionCentralAmerica = 4,
    kRegionSouthAmerica = 5,
    kRegionEurope = 6,
    kRegionAfrica = 7,
    kRegionAsia = 8,
    kRegionAustralia = 9,
};

// Texts of the region combo, index 0..9.
const std::vector<std::string>& RegionList();
// Canadian provinces, index 1..9 (index 0 is the "Select a Province" placeholder; 8 and 9 are not
// offered in the list).
const std::vector<SSubRegion>& Provinces();
// US states, index 1..51 in list order (index 0 is "Select a State").
const std::vector<SSubRegion>& States();

// Folder below the weather root and message of the world regions 3..9 (code nullptr: taken from the
// abbreviation field).
struct SWorldRegion {
    const char* folder;
    const char* code;
    const char* emptyCity;
};
const SWorldRegion* WorldRegion(int region);

// Every region folder of the tree (backslash form, relative to the weather root), parents first.
const std::vector<std::string>& AllRegionFolders();

// A folder list file ("DIR.DIR"): three characters of entry count, then per entry two characters
// of name length, the name and one separator. Empty when a name is longer than 99 characters or
// there are more than 999 names.
std::string FolderList(const std::vector<std::string>& names);

}  // namespace nimbra
