// The maker's web site, as the option menu names and opens it.
#pragma once

constexpr const char* kMakerSiteDomain = "www.paperkitesounds.com";
constexpr const char* kMakerSiteAddress = "https://www.paperkitesounds.com/vorn/";
