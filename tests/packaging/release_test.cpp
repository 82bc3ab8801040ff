// scripts/release.sh's folder read as its users read it: apt with the folder's keyring as
// signed-by, a copy in its own folder with the update key. Nothing touches the real keyrings.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <QTemporaryDir>

namespace {

// The checks' shell, in the temporary folder, HOME and GnuPG's home there: `release KEYFILE FOLDER`; `apt
// FOLDER COMMAND...` runs apt in apt-FOLDER, its private state, reading FOLDER, trusting out's keyring.
const char* kShell = R"(cd "$DIR" && export HOME="$DIR/home" GNUPGHOME="$DIR/home" TARVEX_SIGN
export TARVEX_RELEASE_DEB="$DIR/t.deb" TARVEX_RELEASE_RUN="$DIR/setup.run"
release() { TARVEX_RELEASE_DIR="$DIR/$2" "$RELEASE" "$1" http://127.0.0.1:8080/tarvex; }
apt() {
  s="$DIR/apt-$1" && mkdir -p "$s/lists/partial" || return
  echo "deb [signed-by=$DIR/out/tarvex-archive-keyring.gpg] file:$DIR/$1 ./" > "$s/sources.list" && shift
  (cd "$s" && "$@" -o Dir::State::Lists="$s/lists" -o Dir::Cache="$s" \
    -o Dir::Etc::SourceList="$s/sources.list" -o Dir::Etc::SourceParts=/dev/null \
    -o APT::Get::List-Cleanup=0 -o Dir::State::status=/dev/null)
}
)";

class Release : public ::testing::Test {
protected:
    QTemporaryDir temp;
    const std::string dir = temp.path().toStdString();

    // A package tarvex 3.0.2.0, an installer, the update key pair.
    void SetUp() override {
        ASSERT_TRUE(ok("mkdir -m 700 home && mkdir -p p/DEBIAN && printf installer > setup.run && "
                       "\"$TARVEX_SIGN\" keygen update.key > update.pub && printf 'Package: tarvex\\n"
                       "Version: 3.0.2.0\\nArchitecture: all\\nDescription: t\\nMaintainer: T <t@t.invalid>"
                       "\\n' > p/DEBIAN/control && dpkg-deb -b --root-owner-group p t.deb > log"));
    }
    // True when the shell ends the command with success; else it shows what the command wrote to log.
    bool ok(const std::string& command) {
        const std::string vars =
            "DIR='" + dir + "' RELEASE='" RELEASE_SCRIPT "' TARVEX_SIGN='" TARVEX_SIGN_TOOL "'\n";
        const std::string showLog = "\n) || { s=$?; cat log 2> /dev/null; exit $s; }";
        const int status = std::system((vars + kShell + "(" + command + showLog).c_str());
        return WIFEXITED(status) && WEXITSTATUS(status) == 0;
    }
};

TEST_F(Release, AptReadsTheSignedRepositoryAndDownloadsThePackage) {
    ASSERT_TRUE(ok("release update.key out > log 2>&1 && test \"$(tail -n 1 log)\" = \"$DIR/out\""));
    EXPECT_TRUE(ok("apt out apt-get update > log 2>&1"));
    EXPECT_TRUE(ok("apt out apt-cache policy tarvex | grep -q \"Candidate: 3.0.2.0\" && "
                   "apt out apt-cache show tarvex | grep -qx \"Version: 3.0.2.0\""));
    // The package apt fetched has the digest of the one in the folder, which is the one given.
    EXPECT_TRUE(ok("apt out apt-get download tarvex > log 2>&1 && cd out && sha256sum tarvex_3.0.2.0_all.deb "
                   "| (cd ../apt-out && sha256sum -c --quiet) && cmp tarvex_3.0.2.0_all.deb ../t.deb && "
                   "cmp TarvexSetup-3.0.2.0.run ../setup.run"));

    // The version file is the maker's, for that installer, downloaded under BASEURL.
    EXPECT_TRUE(ok("\"$TARVEX_SIGN\" verify $(cat update.pub) out/TarvexVersion.txt setup.run > log && "
                   "grep -qx \"the installer matches\" log && grep -qx \"signed: 127.0.0.1:8080 "
                   "/tarvex/TarvexSetup-3.0.2.0.run TarvexSetup-3.0.2.0.run, version 3.0.2.0\" log"));

    // No secret key in the folder: not OpenPGP's, not the update key's text.
    EXPECT_TRUE(ok("grep -rlF -e \"PRIVATE KEY\" -f update.key out; test $? = 1"));
    EXPECT_TRUE(ok("gpg --list-packets out/tarvex-archive-keyring.gpg > log && "
                   "grep -q \"public key packet\" log && ! grep -q secret log"));
}

TEST_F(Release, TheKeyIsMadeOnceBesideTheKeyFileAndAnotherKeyIsRefused) {
    ASSERT_TRUE(ok("release update.key out > log && release update.key again > log && ! grep -q Making log"));
    EXPECT_TRUE(ok("cmp out/tarvex-archive-keyring.gpg again/tarvex-archive-keyring.gpg && "
                   "test $(stat -c %a update.key.gnupg) = 700"));

    // A folder signed with another maker's key, given as TARVEX_REPO_GNUPGHOME, is refused.
    ASSERT_TRUE(ok("\"$TARVEX_SIGN\" keygen other.key > log && release other.key other > log && "
                   "TARVEX_REPO_GNUPGHOME=\"$DIR/other.key.gnupg\" release update.key forged > log; s=$?; "
                   "gpgconf --homedir other.key.gnupg --kill gpg-agent; test $s = 0 && "
                   "cmp forged/tarvex-archive-keyring.gpg other/tarvex-archive-keyring.gpg"));
    EXPECT_TRUE(ok("apt forged apt-get update > log 2>&1; test $? = 100 && grep -q NO_PUBKEY log"));
    EXPECT_FALSE(ok("apt forged apt-cache policy tarvex | grep -q Candidate"));

    // No key file: a clear message, and the folder written before stays as it was.
    EXPECT_TRUE(ok("! release missing.key out > log 2>&1 && grep -q \"no key file\" log && "
                   "test -f out/InRelease"));
}

}  // namespace
