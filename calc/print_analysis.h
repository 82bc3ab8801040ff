// The one-page analysis printed for the client.
#pragma once

void PRINTROUTINE();
