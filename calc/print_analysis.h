// The one-page analysis printed for the client.
#pragma once

#include <cstdint>
#include <string>

void PRINTROUTINE();
