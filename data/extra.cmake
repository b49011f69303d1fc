# Every region folder of the weather tree exists in the program folder, also those that ship no
# file (git keeps no empty folders): the picker lists them and the weather generator writes into
# them without creating folders. The same list as the generator's region tables.
set(halvo_weather_regions
  "North America"
  "North America/Canada"
  "North America/Canada/Atlantic"
  "North America/Canada/Quebec"
  "North America/Canada/Ontario"
  "North America/Canada/Manitoba"
  "North America/Canada/Saskatchewan"
  "North America/Canada/Alberta"
  "North America/Canada/British Columbia"
  "North America/Canada/Yukon"
  "North America/Canada/Nwt"
  "North America/USA"
  "North America/USA/Pacific"
  "North America/USA/Mountain"
  "North America/USA/West North Central"
  "North America/USA/West South Central"
  "North America/USA/East North Central"
  "North America/USA/East South Central"
  "North America/USA/South Atlantic"
  "North America/USA/Middle Atlantic"
  "North America/USA/New England"
  "Central America"
  "South America"
  "Europe"
  "Africa"
  "Asia"
  "Japan"
  "Australia")

set(halvo_region_dirs "")
foreach(region IN LISTS halvo_weather_regions)
  list(APPEND halvo_region_dirs "${HALVO_STAGE_DIR}/Weather/${region}")
  install(DIRECTORY DESTINATION "${HALVO_INSTALL_DIR}/Weather/${region}")
endforeach()
add_custom_target(stage_weather_regions ALL
  COMMAND ${CMAKE_COMMAND} -E make_directory ${halvo_region_dirs}
  COMMENT "Creating the region folders of the weather tree"
  VERBATIM)
if(TARGET stage_weather)
  add_dependencies(stage_weather_regions stage_weather)
endif()
