// The exporters (objwrite, glwrite and iobwrite) as a host sees them: the
// built modules, loaded with dlopen.
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "framework/settings_store.h"
#include "host.h"

namespace plugins {

namespace {

using namespace e2e;
using pluginsupport::ReadFileBytes;
using pluginsupport::WriteFileBytes;

struct ExporterModule {
    const char* path;
    const char* subkey;
    const char* lib_name;
    const char* class_name;
    std::uint32_t class_id;
};

const ExporterModule kExporters[] = {
    {OBJWRITE_MODULE, "objwrite", "Wav Export Lib", "WaveFront (*.obj)", 0x00D5772Au},
    {GLWRITE_MODULE, "glwrite", "OGL Export Lib", "OpenGL Sourcefile (*.c)", 0x42070980u},
    {IOBWRITE_MODULE, "iobwrite", "IOB Export Lib", "Imagine Object (*.iob)", 0x10B4EAD2u},
};

TEST(ExporterModules, ExportTheFourEntryPointsAndNothingElse) {
    for (const ExporterModule& m : kExporters) {
        Module module(m.path);
        ASSERT_TRUE(module.Loaded()) << m.path;
        auto lib_name = reinterpret_cast<LibNameFunction>(module.Symbol("LibName"));
        auto classes =
            reinterpret_cast<LibNumberClassesFunction>(module.Symbol("LibNumberClasses"));
        auto describe =
            reinterpret_cast<LibClassDescriptionFunction>(module.Symbol("LibClassDescription"));
        auto version = reinterpret_cast<LibVersionFunction>(module.Symbol("LibVersion"));
        ASSERT_TRUE(lib_name && classes && describe && version) << m.path;
        EXPECT_STREQ(lib_name(), m.lib_name);
        EXPECT_EQ(classes(), 1);
        EXPECT_EQ(version(), 3);
        EXPECT_EQ(describe(1), nullptr);
        EXPECT_EQ(describe(-1), nullptr);
        ClassDescription* d = describe(0);
        ASSERT_NE(d, nullptr);
        EXPECT_EQ(d->IsEnabled(), 1);
        EXPECT_STREQ(d->ClassName(), m.class_name);
        EXPECT_EQ(d->PluginKind(), kPluginKindExport);
        EXPECT_EQ(d->ClassId(), m.class_id);

        // The dynamic symbol table holds the four functions only.
        const std::string command = std::string("nm -D --defined-only '") + m.path + "'";
        std::FILE* pipe = popen(command.c_str(), "r");
        ASSERT_NE(pipe, nullptr);
        std::string symbols;
        char line[512];
        while (std::fgets(line, sizeof line, pipe) != nullptr) {
            std::string text(line);
            symbols += text.substr(text.rfind(' ') + 1);
        }
        pclose(pipe);
        EXPECT_EQ(symbols, "LibClassDescription\nLibName\nLibNumberClasses\nLibVersion\n")
            << m.path;
    }
}

class ExporterModuleTest : public pluginsupport::ConfigHomeTest {
  protected:
    // Imports file with the objread module (split by object, no
    // orientation change) and returns the importer, which owns the list.
    ImportPlugin* Import(Module& objread, const std::string& file, ObjectList*& list) {
        WriteSettingInt("objread", kSpecificSettings, "obj_mode", 1);
        WriteSettingInt("objread", kCommonSettings, "unify_mode", 0);
        auto* importer = static_cast<ImportPlugin*>(objread.Descriptor()->CreateInstance());
        list = importer->ImportFile(file.c_str());
        return importer;
    }

    // Runs Export of the module's exporter with file as the name its save
    // dialog offers.
    void Export(const ExporterModule& m, ObjectList* list, const std::string& file) {
        WriteSettingText(m.subkey, kSpecificSettings, "file_name", file.c_str());
        WriteSettingInt(m.subkey, kCommonSettings, "ld_mode", 1);
        Module module(m.path);
        ASSERT_TRUE(module.Loaded());
        auto* exporter = static_cast<ExportPlugin*>(module.Descriptor()->CreateInstance());
        exporter->Export(list);
        exporter->Delete();
    }

    NoInput no_input_;
};

TEST_F(ExporterModuleTest, ObjRoundTripKeepsEveryTriangle) {
    // Two objects, a quad and a pentagon among triangles, coordinates that
    // need all six decimals and some that do not fit in them.
    WriteFileBytes(temp_.File("in.obj"),
                   "v 0 0 0\nv 1.5 0 0\nv 1.5 2.25 0\nv 0 2.25 0.125\nv -3.141593 1 2\n"
                   "v 0.1234564 -7.0000004 3\nv 10 10 10\nv 11 10 10.5\nv 10 12 9\n"
                   "o first part\nf 1 2 3 4\nf 1 4 5\nf 5 4 6\n"
                   "o second\nf 7 8 9\nf 9 8 6 5 1\n");
    Module objread(OBJREAD_MODULE);
    ASSERT_TRUE(objread.Loaded());
    ObjectList* first = nullptr;
    ImportPlugin* importer = Import(objread, temp_.File("in.obj"), first);
    const std::vector<MeshCopy> before = CopyMeshes(*first);
    ASSERT_EQ(before.size(), 2u);
    ASSERT_GT(before[1].triangles.size(), 2u);

    Export(kExporters[0], first, temp_.File("out.obj"));
    // The host's meshes come back as they went.
    const std::vector<MeshCopy> after_export = CopyMeshes(*first);
    ASSERT_EQ(after_export.size(), before.size());
    for (std::size_t m = 0; m < before.size(); ++m) {
        ASSERT_EQ(after_export[m].triangles.size(), before[m].triangles.size());
        EXPECT_EQ(std::memcmp(after_export[m].triangles.data(), before[m].triangles.data(),
                              before[m].triangles.size() * sizeof(Triangle3d)),
                  0);
    }

    ObjectList* second = nullptr;
    ImportPlugin* again = Import(objread, temp_.File("out.obj"), second);
    const std::vector<MeshCopy> after = CopyMeshes(*second);
    ASSERT_EQ(after.size(), before.size());
    for (std::size_t m = 0; m < before.size(); ++m) {
        EXPECT_EQ(after[m].name, before[m].name);
        ASSERT_EQ(after[m].triangles.size(), before[m].triangles.size()) << before[m].name;
        for (std::size_t t = 0; t < before[m].triangles.size(); ++t) {
            const Vector3d* a = &before[m].triangles[t].P0;
            const Vector3d* b = &after[m].triangles[t].P0;
            for (int c = 0; c < 3; ++c) {
                EXPECT_NEAR(a[c].x, b[c].x, 5.000001e-7) << before[m].name << " triangle " << t;
                EXPECT_NEAR(a[c].y, b[c].y, 5.000001e-7) << before[m].name << " triangle " << t;
                EXPECT_NEAR(a[c].z, b[c].z, 5.000001e-7) << before[m].name << " triangle " << t;
            }
        }
    }
    again->Delete();
    importer->Delete();
}

TEST_F(ExporterModuleTest, AnUnwritableFileIsReportedToThePersonAndNothingIsWritten) {
    for (const ExporterModule& m : kExporters) {
        ObjectList list(nullptr);
        const std::string target = temp_.File("no/such/dir/out.x");
        {
            CapturedStderr err(temp_.File("err.txt"));
            Export(m, &list, target);
        }
        const std::string err = ReadFileBytes(temp_.File("err.txt"));
        EXPECT_NE(err.find("Unable to write " + target), std::string::npos)
            << m.subkey << ": " << err;
        EXPECT_EQ(err.find("started"), std::string::npos) << err;
        EXPECT_FALSE(std::filesystem::exists(temp_.File("no")));
    }
}

// No exporter ever writes a number that is not finite: a triangle of huge
// coordinates still has a finite normal, and coordinates scaled beyond any
// double make the export write nothing, leaving an existing file alone.
TEST_F(ExporterModuleTest, NoNumberThatIsNotFiniteIsEverWritten) {
    WriteFileBytes(temp_.File("in.obj"), "v 1e200 0 0\nv 0 1e200 0\nv 0 0 0\no big\nf 1 2 3\n");
    Module objread(OBJREAD_MODULE);
    ASSERT_TRUE(objread.Loaded());
    ObjectList* list = nullptr;
    ImportPlugin* importer = Import(objread, temp_.File("in.obj"), list);
    ASSERT_EQ(CopyMeshes(*list).size(), 1u);
    for (const ExporterModule& m : kExporters) {
        SCOPED_TRACE(m.subkey);
        const std::string out = temp_.File(std::string("out.") + m.subkey);
        if (std::string(m.subkey) != "iobwrite") {  // an Imagine file cannot hold 1e200
            WriteSettingDouble(m.subkey, kCommonSettings, "size_value", 1.0);
            Export(m, list, out);
            const std::string text = ReadFileBytes(out);
            ASSERT_FALSE(text.empty());
            EXPECT_EQ(text.find("nan"), std::string::npos) << text;
            EXPECT_EQ(text.find("inf"), std::string::npos) << text;
        }
        WriteFileBytes(out, "old\n");
        WriteSettingDouble(m.subkey, kCommonSettings, "size_value", 1e200);
        {
            CapturedStderr err(temp_.File("err.txt"));
            Export(m, list, out);
        }
        EXPECT_EQ(ReadFileBytes(out), "old\n");
        EXPECT_NE(ReadFileBytes(temp_.File("err.txt")).find("Mesh 'big'"), std::string::npos)
            << ReadFileBytes(temp_.File("err.txt"));
    }
    importer->Delete();
}

}  // namespace

}  // namespace plugins
