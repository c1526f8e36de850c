// The scheme editor on real files in a scratch folder, with scripted message boxes. The editor
// writes "folder\name.dat" as the program does; here such a file lies beside the folder under
// that whole name, and BackslashFiles lists it as the folder's.
#pragma once
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "config/core/SchemeEditor.h"
#include "core/MessageService.h"

class BackslashFiles : public kt::PortableSchemeFileSystem {
public:
    bool refuseRemove = false;
    bool refuseWrite = false;  // no new file can be written (a full disk, no rights)
    bool WriteNew(const std::string& path, std::string_view content) override {
        return !refuseWrite && SchemeFileSystem::WriteNew(path, content);
    }
    bool writtenLongAgo = false;  // every file counts as written a minute ago
    long long MillisecondsSinceWrite(const kt::FileStamp& stamp) override {
        return writtenLongAgo ? 60000 : PortableSchemeFileSystem::MillisecondsSinceWrite(stamp);
    }
    std::vector<std::string> ListEntries(const std::string& folder) override {
        const std::filesystem::path f(folder);
        const std::string prefix = f.filename().string() + "\\";
        std::vector<std::string> names;
        for (const std::string& n : PortableSchemeFileSystem::ListEntries(f.parent_path().string()))
            if (n.rfind(prefix, 0) == 0) names.push_back(n.substr(prefix.size()));
        return names;
    }
    bool RemoveFile(const std::string& path) override {
        return !refuseRemove && PortableSchemeFileSystem::RemoveFile(path);
    }
    // Another program (a virus scanner, a backup) holds every scheme file: it cannot be read
    // or replaced.
    bool held = false;
    ReadResult ReadWhole(const std::string& path, std::string& content) override {
        return held ? ReadResult::CannotOpen : PortableSchemeFileSystem::ReadWhole(path, content);
    }
    bool MoveReplacing(const std::string& from, const std::string& to) override {
        return !held && PortableSchemeFileSystem::MoveReplacing(from, to);
    }
    // Runs right before a new file is moved into place (another writer gets there first).
    std::function<void(const std::string& to)> beforeRename;
    bool RenameToNew(const std::string& from, const std::string& to) override {
        if (beforeRename) beforeRename(to);
        return PortableSchemeFileSystem::RenameToNew(from, to);
    }
};

// A fresh folder "data" below "<temp>/<prefix><test name>", gone after the test.
class SchemeFolderTest : public ::testing::Test {
protected:
    explicit SchemeFolderTest(const std::string& prefix) {
        root = std::filesystem::temp_directory_path() /
               (prefix + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(root);
        std::filesystem::create_directories(root / "data");
        folder = (root / "data").string();
        kt::SetSchemeFileSystem(&files);
        ed.Bar.schemeFolder = [this] { return folder; };
    }
    ~SchemeFolderTest() override {
        kt::SetSchemeFileSystem(nullptr);
        std::filesystem::remove_all(root);
    }

    std::string PathOf(const std::string& name) const { return folder + "\\" + name; }
    void Write(const std::string& name, const std::string& content) {
        std::ofstream(PathOf(name), std::ios::binary) << content;
    }
    std::string Read(const std::string& name) const {
        std::ifstream in(PathOf(name), std::ios::binary);
        std::ostringstream s;
        s << in.rdbuf();
        return s.str();
    }
    void Pick(const std::string& scheme) {
        ed.Schemes.index = ed.Schemes.IndexOf(scheme);
        ASSERT_NE(ed.Schemes.index, -1) << scheme;
        ed.SchemeClicked();
    }

    std::filesystem::path root;
    std::string folder;
    BackslashFiles files;
    kt::ScopedScriptedMessages msgs;
    kt::SchemeEditor ed{files};
};
