#include "update/addresses.h"

std::string VersionFileUrl = TARVEX_VERSION_URL;
std::string ProductWebPage = TARVEX_PRODUCT_PAGE;
std::string UpdatePublicKey = TARVEX_UPDATE_PUBLIC_KEY;
