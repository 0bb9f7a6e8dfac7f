#include "net/tls_trust.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace statvane {
namespace {

TEST(ExtraCaFile, AFileThatCannotBeReadAsCertificatesIsAProblemNamingIt) {
    test::TempDir dir;
    test::writeFile(dir / "notes.txt", "no certificate here\n");
    const std::string prefix = "STATVANE_CA_FILE names ";
    const std::string middle = ", which could not be read as PEM certificates: ";
    // (the variable's value, the reason, none when the file is read)
    const std::pair<std::string, std::optional<std::string>> cases[] = {
        {"", std::nullopt},
        {"/etc/ssl/certs/ca-certificates.crt", std::nullopt},
        {(dir / "missing.pem").string(), "No such file or directory"},
        {dir.path().string(), "Is a directory"},
        {(dir / "notes.txt").string(), "it holds no certificate"},
    };
    for (const auto& [file, reason] : cases) {
        SCOPED_TRACE(file);
        test::ScopedEnv variable(kExtraCaFileVariable, file);
        const auto expected =
            reason ? std::optional(prefix + file + middle + *reason + ".") : std::nullopt;
        EXPECT_EQ(extraCaFileProblem(), expected);
    }
}

} // namespace
} // namespace statvane
