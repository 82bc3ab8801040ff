// Where the maker's server is, and the key that proves what it sends. All three are fixed by the
// build (TARVEX_VERSION_URL, TARVEX_PRODUCT_PAGE, TARVEX_UPDATE_PUBLIC_KEY); tests point them at
// servers and keys of their own.
#pragma once

#include <string>

extern std::string VersionFileUrl;
extern std::string ProductWebPage;
// Base64 of the maker's Ed25519 public key; empty in a build that takes unsigned updates.
extern std::string UpdatePublicKey;
