// Where the store of saved analyses is kept.
#include "analyses/store.h"
#include "common/globals.h"
#include "common/long_name.h"
#include "gui/ezgui.h"
#include "platform/files.h"

std::string STOREFOLDERFOR(const std::string& programFolder) {
    if (OS_FOLDERTAKESFILES(programFolder) || OS_FILEEXISTS(programFolder + "Clients.db")) return programFolder;
    return OS_USERDATAFOLDER(ProductName) + "/";
}

std::string STOREFOLDER() { return STOREFOLDERFOR(GETLONGFILENAME(EZ_APPPATH()) + "/"); }
