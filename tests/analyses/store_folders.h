// Stores of saved analyses in scratch folders, for the store's tests.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "analyses/store.h"
#include "platform/database.h"
#include "platform/local_date.h"
#include "tests/analyses/writer_rounds.h"
#include "tests/support/scratch_files.h"

// A new, empty folder with the store opened in it.
inline std::string openedIn(const std::string& name) {
    const std::string folder = utf8(scratchFolder("store-" + name)) + "/";
    EXPECT_EQ(OPENSTORE(folder), "");
    return folder;
}

// The file's schema version when PRAGMA integrity_check finds it whole, else -1.
inline int64_t checkedVersion(const std::string& file) {
    int32_t db = 0;
    int64_t version = -1;
    if (!DB_OPEN(file, true, db).ok() || !DB_INTEGRITYCHECK(db).ok() || !DB_USERVERSION(db, version).ok()) version = -1;
    DB_CLOSE(db);
    return version;
}

inline Analysis saved(Analysis analysis) {
    std::string why;
    EXPECT_TRUE(SAVEANALYSIS(analysis, why)) << why;
    return analysis;
}

// The name a damaged store is kept aside under today, without its ending.
inline std::string asideName() {
    int32_t year = 0, month = 0, day = 0;
    OS_TODAY(year, month, day);
    char aside[64];
    std::snprintf(aside, sizeof aside, "Clients.damaged-%04d-%02d-%02d", year, month, day);
    return aside;
}

// A store spoiled after one analysis was saved in it, the notice opening it then gives, how many
// analyses it still lists and the schema version its file is left with.
struct SpoiledStore {
    const char* name;
    void (*spoil)(const std::string& folder, const std::string& aside);
    std::string notice;
    size_t listed;
    int64_t version;
};

// Opening the spoiled store gives its notice and loses nothing: the analysis can still be opened,
// or the damaged file is kept aside byte for byte.
inline void expectKeptThrough(const SpoiledStore& c, const std::string& aside) {
    namespace fs = std::filesystem;
    const std::string folder = openedIn(c.name);
    const Analysis kept = saved(writerRound(7));
    CLOSESTORE();
    c.spoil(folder, aside);
    const std::string notice = OPENSTORE(folder);
    EXPECT_TRUE(notice.find(c.notice) != std::string::npos && notice.empty() == c.notice.empty()) << notice;
    ASSERT_EQ(LISTANALYSES().size(), c.listed) << c.name;
    EXPECT_TRUE(c.listed == 0 || fieldsOf(LOADANALYSIS(LISTANALYSES()[0].id)) == fieldsOf(kept)) << c.name;
    Analysis analysis = writerRound(8);
    std::string why;
    EXPECT_EQ(SAVEANALYSIS(analysis, why), c.listed == 0) << c.name;
    EXPECT_EQ(why, STOREREADONLY()) << c.name;
    CLOSESTORE();
    fs::permissions(fromUtf8(folder), fs::perms(0755));
    fs::permissions(fromUtf8(folder + "Clients.db"), fs::perms(0644));
    EXPECT_EQ(checkedVersion(folder + "Clients.db"), c.version) << c.name;
    EXPECT_TRUE(c.listed || c.notice.empty() ||
                (fs::file_size(fromUtf8(folder + c.notice)) == 5000 &&
                 fs::file_size(fromUtf8(folder + aside + ".db")) == 4));
    fs::remove_all(fromUtf8(folder));
}
