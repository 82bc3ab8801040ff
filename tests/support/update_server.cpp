#include "tests/support/update_server.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

#include "base/text.h"
#include "common/globals.h"
#include "common/settings.h"
#include "gui/test_driver.h"
#include "platform/crypto.h"
#include "update/base64.h"
#include "update/signature.h"

TestKey makeTestKey() {
    const SigningKeys keys = OS_MAKESIGNINGKEYS();
    return {GET_BASE64(keys.publicKey), keys.secretKey};
}

std::string versionText(const VersionFileFields& fields, const std::string& secretKey) {
    std::string text = fields.host + " " + fields.path + " " + fields.name + "\r\n";
    if (fields.describeInstaller) {
        text += "sha256 " + HEXTEXT(OS_SHA256(fields.installer)) + "\r\n";
        text += "size " + std::to_string(fields.installer.size()) + "\r\n";
    }
    text += fields.version;
    if (secretKey.empty()) return text;
    const size_t firstLine = text.find("\r\n") + 2;
    return text.insert(firstLine, "signature " + SIGNVERSIONTEXT(text, secretKey) + "\r\n");
}

std::string okResponse(const std::string& body) {
    return "HTTP/1.0 200 OK\r\nContent-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body;
}

std::string installerScript(const std::string& restartSession) {
    std::string script =
        "#!/bin/sh\n"
        "dir=$(dirname \"$0\")\n"
        "printf '%s\\n' \"$0\" \"$@\" > \"$dir/installer-args.tmp\" && mv \"$dir/installer-args.tmp\" "
        "\"$dir/installer-args.txt\"\n";
    if (restartSession.empty()) return script;
    // An installed update leaves the start-up nothing to recover; the program it replaced (the
    // process named in its single-copy lock) has ended, or ten seconds have passed, before it is
    // started again.
    return script +
           "sed -i 's/^Failed=1$/Failed=0/' \"$dir/Tarvex.ini\"\n"
           "pid=$(head -n 1 \"$XDG_RUNTIME_DIR/Tarvex.lock\" 2>/dev/null)\n"
           "for tick in $(seq 200); do kill -0 \"$pid\" 2>/dev/null || break; sleep 0.05; done\n"
           "TARVEX_SESSION=" +
           restartSession + " exec \"$dir/tarvex_session\" /update\n";
}

std::vector<std::string> installerArguments(const std::string& folder, int timeoutMs) {
    const QString path = QDir(QString::fromStdString(folder)).filePath("installer-args.txt");
    driver::WAITFOR([&] { return QFile::exists(path); }, timeoutMs);
    std::vector<std::string> lines;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return lines;
    for (const QByteArray& line : file.readAll().split('\n'))
        if (!line.isEmpty()) lines.push_back(line.toStdString());
    return lines;
}

std::string updateSetting(const std::string& key) { return GETINI(IniFile, "Update", key, "<none>"); }

std::string fileText(const std::string& path) {
    QFile file(QString::fromStdString(path));
    return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : "";
}

void writeFile(const std::string& path, const std::string& bytes) {
    // Written beside and renamed into place, so that a reader waiting for it never sees a part.
    QSaveFile file(QString::fromStdString(path));
    if (file.open(QIODevice::WriteOnly)) {
        file.write(bytes.data(), static_cast<qint64>(bytes.size()));
        file.commit();
    }
}
