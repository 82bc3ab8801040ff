// Where the maker's server is: the version file the update check reads and the product's web page.
// Both are fixed by the build (TARVEX_VERSION_URL, TARVEX_PRODUCT_PAGE).
#pragma once

#include <string>

extern const std::string VersionFileUrl;
extern const std::string ProductWebPage;
