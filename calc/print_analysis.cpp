#include "calc/print_analysis.h"

// Printing comes with the print library; until then "Print" prints nothing.
void PRINTROUTINE() {}
