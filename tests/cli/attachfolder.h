#pragma once

#include "cli/consoleoutput.h"
#include "tests/support/files.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

// What one run of kelvane-attach printed and returned.
struct Outcome {
    int exitCode;
    QByteArray out;
    QString err;
};

// What kelvane-attach prints, kept for the test to read.
class CapturedOutput : public kelvane::ConsoleOutput
{
public:
    void printLine(const QString &text) override
    {
        out += (text + QLatin1Char('\n')).toLocal8Bit();
    }
    void printError(const QString &text) override { err += text + QLatin1Char('\n'); }
    bool writeBytes(const QByteArray &bytes) override
    {
        out += bytes;
        return true;
    }

    QByteArray out;
    QString err;
};

// A skins folder with two character files, a broken one and a mesh file.
class AttachFolder : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        using namespace testsupport;
        ASSERT_TRUE(writeFile(path("B001FAFit_01.cmx"), characterFile({{"PELVIS", "b"}})));
        ASSERT_TRUE(writeFile(path("C001MA_hat.cmx"), characterFile({})));
        ASSERT_TRUE(writeFile(path("broken.cmx"), characterFileWithCount("2.5", {})));
        ASSERT_TRUE(writeFile(path("glasses.skn"), meshFile("glasses", "HEAD")));
    }

    QString path(const QString &name) const
    {
        return QDir::toNativeSeparators(m_dir.filePath(name));
    }

    QStringList cmxFiles() const
    {
        return QDir(m_dir.path())
            .entryList({QStringLiteral("*.cmx")}, QDir::Files, QDir::Name | QDir::IgnoreCase);
    }

    QTemporaryDir m_dir;
};
