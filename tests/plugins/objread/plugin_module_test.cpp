// The built objread module, loaded with dlopen and driven through its
// exports, descriptor and importer object exactly as a host drives it.
#include <dlfcn.h>

#include <cstdio>
#include <filesystem>
#include <set>
#include <string>

#include <gtest/gtest.h>

#include "entry/current_directory.h"
#include "framework/contract.h"
#include "framework/settings_store.h"
#include "obj_fixtures.h"
#include "support/temp_dir.h"

namespace plugins {

namespace {

const char* const kCube =
    "v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\nv 0 0 1\nv 1 0 1\nv 1 1 1\nv 0 1 1\n"
    "f 1 4 3 2\nf 5 6 7 8\nf 1 2 6 5\nf 2 3 7 6\nf 3 4 8 7\nf 4 1 5 8\n";

class PluginModuleTest : public pluginsupport::ConfigHomeTest {
  protected:
    void SetUp() override {
        // Nobody answers the dialogs: an open-file dialog takes its initial
        // name, a form reads the end of its input as Cancel.
        ASSERT_NE(std::freopen("/dev/null", "r", stdin), nullptr);
        handle_ = dlopen(OBJREAD_MODULE, RTLD_NOW | RTLD_LOCAL);
        ASSERT_NE(handle_, nullptr) << dlerror();
        auto describe =
            reinterpret_cast<LibClassDescriptionFunction>(dlsym(handle_, "LibClassDescription"));
        ASSERT_NE(describe, nullptr);
        describe_ = describe;
        descriptor_ = describe(0);
        ASSERT_NE(descriptor_, nullptr);
    }

    void TearDown() override {
        if (handle_ != nullptr) {
            dlclose(handle_);
        }
    }

    ImportPlugin* NewImporter() {
        return static_cast<ImportPlugin*>(descriptor_->CreateInstance());
    }

    std::string WriteCube(const std::string& name) {
        const std::string path = temp_.File(name);
        pluginsupport::WriteFileBytes(path, kCube);
        return path;
    }

    std::string Stored(const char* section, const char* name) {
        RegistryKey key(kSettingsKeyClass);
        if (key.OpenOrCreate(SettingsKeyPath("objread", section).c_str()) != 1) {
            return "<no key>";
        }
        return key.ReadValueText(name).value_or("<missing>");
    }

    void* handle_ = nullptr;
    LibClassDescriptionFunction describe_ = nullptr;
    ClassDescription* descriptor_ = nullptr;
};

TEST_F(PluginModuleTest, ExportsExactlyTheFourEntryPoints) {
    std::FILE* nm = popen("nm -D --defined-only '" OBJREAD_MODULE "'", "r");
    ASSERT_NE(nm, nullptr);
    std::set<std::string> symbols;
    char line[1024];
    while (std::fgets(line, sizeof line, nm) != nullptr) {
        char address[128], type[8], name[900];
        if (std::sscanf(line, "%127s %7s %899s", address, type, name) == 3) {
            symbols.insert(name);
        }
    }
    ASSERT_EQ(pclose(nm), 0);
    EXPECT_EQ(symbols, (std::set<std::string>{"LibClassDescription", "LibName", "LibNumberClasses",
                                              "LibVersion"}));
}

TEST_F(PluginModuleTest, EntryPointsAndDescriptorDescribeTheImporter) {
    auto libName = reinterpret_cast<LibNameFunction>(dlsym(handle_, "LibName"));
    auto numberClasses =
        reinterpret_cast<LibNumberClassesFunction>(dlsym(handle_, "LibNumberClasses"));
    auto libVersion = reinterpret_cast<LibVersionFunction>(dlsym(handle_, "LibVersion"));
    ASSERT_TRUE(libName && numberClasses && libVersion);
    EXPECT_STREQ(libName(), "WAV Import Lib");
    EXPECT_EQ(numberClasses(), 1);
    EXPECT_EQ(libVersion(), 3);
    EXPECT_EQ(describe_(1), nullptr);
    EXPECT_EQ(describe_(-1), nullptr);
    EXPECT_EQ(describe_(0), descriptor_);
    EXPECT_EQ(descriptor_->IsEnabled(), 1);
    EXPECT_STREQ(descriptor_->ClassName(), "WaveFront (*.obj)");
    EXPECT_EQ(descriptor_->PluginKind(), 0x1000);
    EXPECT_EQ(descriptor_->ClassId(), 0x5B177FF5u);
}

TEST_F(PluginModuleTest, LastFileNameAfterImportFileImportAndCancel) {
    WriteSettingInt("objread", kSpecificSettings, "obj_mode", 0);
    const std::string cube = WriteCube("cube.obj");
    ImportPlugin* importer = NewImporter();
    EXPECT_STREQ(importer->LastFileName(), "");

    ObjectList* list = importer->ImportFile(cube.c_str());
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->Count(), 1);
    const auto meshes = objtest::Meshes(*list);
    EXPECT_EQ(meshes[0].name, "default");
    EXPECT_EQ(meshes[0].points.size(), 8u);
    EXPECT_EQ(meshes[0].triangles.size(), 12u);
    EXPECT_STREQ(importer->LastFileName(), cube.c_str());

    // The dialog offers the last file; taken as chosen, only its name stays.
    list = importer->Import();
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->Count(), 1);
    EXPECT_STREQ(importer->LastFileName(), "cube.obj");

    // Nothing to offer: the dialog is cancelled, the list is empty but
    // present, and the last name stays.
    WriteSettingText("objread", kSpecificSettings, "file_name", "");
    list = importer->Import();
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->Count(), 0);
    EXPECT_STREQ(importer->LastFileName(), "cube.obj");
    importer->Delete();
}

TEST_F(PluginModuleTest, ImportFileWorksBesideTheFileAndGivesTheDirectoryBack) {
    // A relative path with a directory, and a relative log file name: the
    // file is found, the log lands beside it, the caller's directory returns.
    std::filesystem::create_directory(temp_.path() / "models");
    WriteCube("models/cube.obj");
    WriteSettingInt("objread", kSpecificSettings, "obj_mode", 0);
    WriteSettingInt("objread", kCommonSettings, "verbose_mode", 1);
    WriteSettingText("objread", kCommonSettings, "logfilename", "import.log");
    const std::string before = entry::CurrentDirectory();
    ASSERT_TRUE(entry::ChangeDirectory(temp_.path().string()));

    ImportPlugin* importer = NewImporter();
    ObjectList* list = importer->ImportFile("models/cube.obj");
    const std::string after = entry::CurrentDirectory();
    entry::ChangeDirectory(before);

    EXPECT_EQ(list->Count(), 1);
    EXPECT_STREQ(importer->LastFileName(), "models/cube.obj");
    EXPECT_EQ(std::filesystem::path(after), temp_.path());
    EXPECT_TRUE(std::filesystem::exists(temp_.path() / "models" / "import.log"));
    EXPECT_EQ(std::filesystem::path(Stored(kSpecificSettings, "path")), temp_.path() / "models");
    importer->Delete();
}

TEST_F(PluginModuleTest, ImportFileFollowsADotDotAfterASymbolicLink) {
    // link -> elsewhere/sub, so link/../cube.obj is elsewhere/cube.obj (the
    // cube), not the single triangle in ./cube.obj.
    std::filesystem::create_directories(temp_.path() / "elsewhere" / "sub");
    WriteCube("elsewhere/cube.obj");
    pluginsupport::WriteFileBytes(temp_.File("cube.obj"), "v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\n");
    std::filesystem::create_directory_symlink(temp_.path() / "elsewhere" / "sub",
                                              temp_.path() / "link");
    WriteSettingInt("objread", kSpecificSettings, "obj_mode", 0);
    const std::string before = entry::CurrentDirectory();
    ASSERT_TRUE(entry::ChangeDirectory(temp_.path().string()));
    ImportPlugin* importer = NewImporter();
    const auto meshes = objtest::Meshes(*importer->ImportFile("link/../cube.obj"));
    entry::ChangeDirectory(before);
    importer->Delete();
    ASSERT_EQ(meshes.size(), 1u);
    EXPECT_EQ(meshes[0].triangles.size(), 12u);
}

TEST_F(PluginModuleTest, OffGroupsGoOnNumberingInTheNextImport) {
    WriteSettingInt("objread", kSpecificSettings, "obj_mode", 3);
    const std::string path = temp_.File("smooth.obj");
    pluginsupport::WriteFileBytes(path,
                                  "v 0 0 0\nv 1 0 0\nv 0 1 0\ns off\nf 1 2 3\ns off\nf 3 2 1\n");
    ImportPlugin* importer = NewImporter();
    const auto first = objtest::Names(objtest::Meshes(*importer->ImportFile(path.c_str())));
    const auto second = objtest::Names(objtest::Meshes(*importer->ImportFile(path.c_str())));
    importer->Delete();
    ASSERT_EQ(first.size(), 2u);
    ASSERT_EQ(second.size(), 2u);
    const int start = std::stoi(first[0].substr(4));
    EXPECT_EQ(first[1], "off_" + std::to_string(start + 1));
    EXPECT_EQ(second[0], "off_" + std::to_string(start + 2));
    EXPECT_EQ(second[1], "off_" + std::to_string(start + 3));
}

TEST_F(PluginModuleTest, CancelledConfigureStillWritesTheSettingsBack) {
    WriteSettingInt("objread", kCommonSettings, "swap_mode", 2);
    ImportPlugin* importer = NewImporter();
    importer->Configure();  // the end of the input cancels the form
    importer->Delete();
    EXPECT_EQ(Stored(kCommonSettings, "swap_mode"), "2");
    EXPECT_EQ(Stored(kCommonSettings, "verbose_mode"), "0");
    EXPECT_EQ(Stored(kCommonSettings, "size_value"), "1.000000");
    EXPECT_EQ(Stored(kCommonSettings, "logfilename"), "objread.log");
    EXPECT_EQ(Stored(kSpecificSettings, "obj_mode"), "1");
    EXPECT_EQ(Stored(kSpecificSettings, "file_name"), "");
}

}  // namespace

}  // namespace plugins
