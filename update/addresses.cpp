#include "update/addresses.h"

const std::string VersionFileUrl = TARVEX_VERSION_URL;
const std::string ProductWebPage = TARVEX_PRODUCT_PAGE;
