// test_packer.cpp -- the packer refuses a faulty manifest and then writes no datafile
#include <gtest/gtest.h>
#include <cstdlib>
#include <fstream>
#include <string>
#include <unistd.h>

// Runs the packer on a manifest text into `out_dir`; its exit status.
static int pack(const std::string &manifest, const std::string &out_dir) {
    std::ofstream(out_dir + "/manifest.txt") << manifest;
    std::string command = std::string(LAMPLIGHT_PACK) + " " + out_dir + "/manifest.txt " LAMPLIGHT_ASSETS_DIR " ";
    return system((command + out_dir + " >/dev/null 2>&1").c_str());
}

TEST(AssetsPacker, FaultyManifestWritesNoDatafile) {
    const char *tmp = getenv("TMPDIR");
    std::string dir = std::string(tmp && tmp[0] ? tmp : "/tmp") + "/lamplight-pack-XXXXXX";
    ASSERT_NE(mkdtemp(dir.data()), nullptr);
    EXPECT_EQ(pack("datafile ok.dat\nbitmap shot.pcx\nat 1\n", dir), 0);
    EXPECT_EQ(access((dir + "/ok.dat").c_str(), F_OK), 0);
    // an entry out of step, a missing picture, a cut outside the picture, an unknown command
    for (const char *entries : {"bitmap shot.pcx\nat 2\n", "bitmap no-such-picture.pcx\n",
                                "bitmap shot.pcx 4 4 8 8\n", "sprite shot.pcx\n"}) {
        EXPECT_NE(pack(std::string("datafile bad.dat\n") + entries, dir), 0) << entries;
        EXPECT_NE(access((dir + "/bad.dat").c_str(), F_OK), 0) << entries;
        EXPECT_NE(access((dir + "/bad.dat.part").c_str(), F_OK), 0) << entries;
    }
    EXPECT_EQ(system(("rm -rf " + dir).c_str()), 0);
}
