// The default Iridium set, built from the set-up's element file as the
// program builds "IridSat.bin", with the default ephemeris loaded for the
// flare geometry. A derived SetUp returns at once when this one skipped or
// failed.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "engine/astronomy/de_reader.h"
#include "engine/files/element_files.h"
#include "engine/files/settings.h"
#include "engine/program_folder_fixture.h"
#include "engine/satellite_test_support.h"
#include "engine/satellites/catalogue_conversion.h"

class IridiumSetTest : public ProgramFolderTest {
protected:
    void SetUp() override
    {
        ProgramFolderTest::SetUp();
        KYT_SETUP_FOLDER_OR_SKIP(folder, "tle/gpredict.tle");
        LOAD_DEFAULT_EPHEMERIS_OR_SKIP();
        savedIridiumFile_ = Options.IridiumFile;
        Options.IridiumFile.assign(folder + "/tle/gpredict.tle");
        std::string error;
        ASSERT_TRUE(BuildIridiumFile(&error)) << error;
        ASSERT_TRUE(LoadSatFile(iridium_, DataDir + "IridSat.bin", &error)) << error;
    }
    void TearDown() override
    {
        Options.IridiumFile = savedIridiumFile_;
        FreeDEFile();
        ProgramFolderTest::TearDown();
    }

    bool SetUpStopped() const { return IsSkipped() || HasFatalFailure(); }

    tlearray iridium_;
    ShortString<64> savedIridiumFile_;
};
