// The station list: loading it from the settings file, saving it, and showing it as the
// calculator's station rows.
#pragma once

void LOADSTATIONS();
void SAVESTATIONS();
void SHOWSTATIONS();
