// scripts/release.sh's folder read as its users read it: apt with the folder's keyring as
// signed-by, and a copy in its own folder with the update key. Nothing touches the real keyrings.
#include <gtest/gtest.h>

#include <QCryptographicHash>
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>

#include "update/signature.h"
#include "update/version_file.h"

namespace {

std::string readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : std::string("(missing)");
}

std::string sha256(const QString& path) {
    return QCryptographicHash::hash(QByteArray::fromStdString(readAll(path)), QCryptographicHash::Sha256).toHex().toStdString();
}

class Release : public ::testing::Test {
protected:
    QTemporaryDir temp;
    QString dir = temp.path();
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    std::string publicKey;

    void SetUp() override {
        QDir(dir).mkpath("home/.gnupg");
        QFile::setPermissions(dir + "/home/.gnupg", QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        env.insert("HOME", dir + "/home");
        env.insert("GNUPGHOME", dir + "/home/.gnupg");
        env.insert("TARVEX_SIGN", TARVEX_SIGN_TOOL);
        env.insert("TARVEX_RELEASE_RUN", dir + "/setup.run");
        env.insert("TARVEX_RELEASE_DEB", dir + "/tarvex.deb");
        QDir(dir).mkpath("pkg/DEBIAN");
        QFile control(dir + "/pkg/DEBIAN/control");
        ASSERT_TRUE(control.open(QIODevice::WriteOnly));
        control.write("Package: tarvex\nVersion: 3.0.2.0\nArchitecture: all\nMaintainer: T <t@t.invalid>\nDescription: test\n");
        control.close();
        ASSERT_EQ(run({"dpkg-deb", "--build", "--root-owner-group", "pkg", "tarvex.deb"}).first, 0);
        QFile setup(dir + "/setup.run");
        ASSERT_TRUE(setup.open(QIODevice::WriteOnly) && setup.write("the installer's bytes") > 0);
        setup.close();
        auto [status, key] = run({TARVEX_SIGN_TOOL, "keygen", "update.key"});
        ASSERT_EQ(status, 0) << key;
        publicKey = key.substr(0, key.find('\n'));
    }
    // Runs a program to its end in the temporary folder (or cwd): its exit status and all it printed.
    std::pair<int, std::string> run(QStringList words, const QString& cwd = "") {
        QProcess process;
        process.setProcessEnvironment(env);
        process.setWorkingDirectory(dir + "/" + cwd);
        process.setProcessChannelMode(QProcess::MergedChannels);
        process.start(words.takeFirst(), words);
        process.waitForFinished(-1);
        const std::string output = process.readAll().toStdString();
        return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1, output};
    }
    std::pair<int, std::string> release(const QString& keyFile, const QString& folder) {
        env.insert("TARVEX_RELEASE_DIR", dir + "/" + folder);
        return run({RELEASE_SCRIPT, keyFile, "http://127.0.0.1:8080/tarvex"});
    }
    // apt with a private state that reads only the folder, trusting only the keyring given.
    std::pair<int, std::string> apt(const QString& program, QStringList words, const QString& folder, const QString& keyring) {
        QDir(dir).mkpath("apt-" + folder + "/lists/partial");
        QDir(dir).mkpath("apt-" + folder + "/cache");
        if (QFile sources(dir + "/apt-" + folder + "/sources.list"); !sources.exists() && sources.open(QIODevice::WriteOnly))
            sources.write(("deb [signed-by=" + dir + "/" + keyring + "] file:" + dir + "/" + folder + " ./\n").toUtf8());
        const QString state = dir + "/apt-" + folder;
        return run(QStringList{program, "-o", "Dir::State::Lists=" + state + "/lists", "-o", "Dir::Etc::SourceList=" + state + "/sources.list",
                               "-o", "Dir::Etc::SourceParts=/dev/null", "-o", "Dir::Cache=" + state + "/cache", "-o",
                               "APT::Get::List-Cleanup=0", "-o", "Dir::State::status=/dev/null"} + words, "apt-" + folder);
    }
};

TEST_F(Release, AptReadsTheSignedRepositoryAndDownloadsThePackage) {
    auto [status, output] = release("update.key", "out");
    ASSERT_EQ(status, 0) << output;
    EXPECT_EQ(output.substr(output.rfind('\n', output.size() - 2) + 1), (dir + "/out\n").toStdString());
    EXPECT_EQ(apt("apt-get", {"update"}, "out", "out/tarvex-archive-keyring.gpg").first, 0);
    EXPECT_NE(apt("apt-cache", {"policy", "tarvex"}, "out", "out/tarvex-archive-keyring.gpg").second.find("Candidate: 3.0.2.0"), std::string::npos);
    EXPECT_NE(apt("apt-cache", {"show", "tarvex"}, "out", "out/tarvex-archive-keyring.gpg").second.find("Version: 3.0.2.0"), std::string::npos);
    EXPECT_EQ(apt("apt-get", {"download", "tarvex"}, "out", "out/tarvex-archive-keyring.gpg").first, 0);
    EXPECT_EQ(sha256(dir + "/apt-out/tarvex_3.0.2.0_all.deb"), sha256(dir + "/out/tarvex_3.0.2.0_all.deb"));
    EXPECT_EQ(sha256(dir + "/out/tarvex_3.0.2.0_all.deb"), sha256(dir + "/tarvex.deb"));

    // The version file is the maker's, for the installer in the folder, downloaded under BASEURL.
    const std::string text = readAll(dir + "/out/TarvexVersion.txt");
    EXPECT_TRUE(SIGNEDBYMAKER(text, publicKey)) << text;
    const VersionFile file = READVERSIONFILE(text);
    EXPECT_EQ(file.host + " " + file.path + " " + file.fileName + " " + file.version,
              "127.0.0.1:8080 /tarvex/TarvexSetup-3.0.2.0.run TarvexSetup-3.0.2.0.run 3.0.2.0");
    EXPECT_EQ(file.sha256, sha256(dir + "/setup.run"));
    EXPECT_EQ(readAll(dir + "/out/TarvexSetup-3.0.2.0.run"), "the installer's bytes");

    // No secret goes with it: only these files, no secret key in any of them.
    QStringList names = QDir(dir + "/out").entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    names.sort();
    EXPECT_EQ(names.join(" ").toStdString(),
              "InRelease Packages Packages.gz Release Release.gpg TarvexSetup-3.0.2.0.run TarvexVersion.txt "
              "tarvex-archive-keyring.gpg tarvex_3.0.2.0_all.deb");
    const std::string secret = readAll(dir + "/update.key").substr(0, 88);
    for (const QString& name : QDir(dir + "/out").entryList(QDir::Files)) {
        EXPECT_EQ(readAll(dir + "/out/" + name).find("PRIVATE KEY"), std::string::npos) << name.toStdString();
        EXPECT_EQ(readAll(dir + "/out/" + name).find(secret), std::string::npos) << name.toStdString();
    }
    auto [listed, packets] = run({"gpg", "--list-packets", "out/tarvex-archive-keyring.gpg"});
    EXPECT_EQ(listed, 0);
    EXPECT_NE(packets.find("public key packet"), std::string::npos) << packets;
    EXPECT_EQ(packets.find("secret"), std::string::npos) << packets;
}

TEST_F(Release, TheKeyIsMadeOnceBesideTheKeyFileAndAnotherKeyIsRefused) {
    ASSERT_EQ(release("update.key", "out").first, 0);
    auto [again, said] = release("update.key", "again");
    ASSERT_EQ(again, 0) << said;
    EXPECT_EQ(said.find("Making"), std::string::npos) << said;
    EXPECT_EQ(readAll(dir + "/again/tarvex-archive-keyring.gpg"), readAll(dir + "/out/tarvex-archive-keyring.gpg"));
    EXPECT_EQ(QFile::permissions(dir + "/update.key.gnupg").toInt() & 0x0077, 0);

    // A folder signed with another maker's key, given as TARVEX_REPO_GNUPGHOME.
    ASSERT_EQ(run({TARVEX_SIGN_TOOL, "keygen", "other.key"}).first, 0);
    ASSERT_EQ(release("other.key", "other").first, 0);
    env.insert("TARVEX_REPO_GNUPGHOME", dir + "/other.key.gnupg");
    ASSERT_EQ(release("update.key", "forged").first, 0);
    run({"gpgconf", "--homedir", dir + "/other.key.gnupg", "--kill", "gpg-agent"});
    EXPECT_EQ(readAll(dir + "/forged/tarvex-archive-keyring.gpg"), readAll(dir + "/other/tarvex-archive-keyring.gpg"));
    auto [refused, why] = apt("apt-get", {"update"}, "forged", "out/tarvex-archive-keyring.gpg");
    EXPECT_NE(refused, 0);
    EXPECT_NE(why.find("NO_PUBKEY"), std::string::npos) << why;
    EXPECT_EQ(apt("apt-cache", {"policy", "tarvex"}, "forged", "out/tarvex-archive-keyring.gpg").second.find("Candidate"), std::string::npos);

    // No key file: a clear message, and the folder written before stays as it was.
    auto [failed, message] = release("missing.key", "out");
    EXPECT_NE(failed, 0);
    EXPECT_NE(message.find("no key file"), std::string::npos) << message;
    EXPECT_TRUE(QFile::exists(dir + "/out/InRelease"));
}

}  // namespace
