#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <functional>

#include "link/VkcCfgArchiver.h"
#include "link/VkcConfiguration.h"
#include "link/VkcMemoryStream.h"
#include "platform/Files.h"
#include "platform/SettingsLocation.h"
#include "support/TestSupport.h"

namespace {

std::vector<uint8_t> Hex(const std::string& text) {
  std::vector<uint8_t> out;
  std::string digits;
  for (char c : text) {
    if (c != ' ') digits += c;
  }
  for (size_t i = 0; i + 1 < digits.size(); i += 2) out.push_back(static_cast<uint8_t>(std::stoi(digits.substr(i, 2), nullptr, 16)));
  return out;
}

std::vector<uint8_t> Store(const VkcConfiguration& tree) {
  VkcMemoryStream stream;
  VkcCfgArchiver ar;
  ar.Attach(stream, false);
  EXPECT_TRUE(tree.Save(ar));
  ar.Detach();
  return stream.TakeBytes();
}

void PutU32(std::vector<uint8_t>& out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}
void PatchU32(std::vector<uint8_t>& out, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) out[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

// Loads a record without throwing; returns whether it loaded.
bool LoadQuiet(const std::vector<uint8_t>& bytes, VkcConfiguration& into) {
  VkcMemoryStream stream(bytes);
  VkcCfgArchiver ar;
  ar.Attach(stream, true);
  return into.Load(ar);
}

// Loads a record in throw mode through a file; returns "ok", "archive" or "file".
std::string LoadThrowing(const std::vector<uint8_t>& bytes) {
  testsupport::TempDir dir;
  const std::string path = dir.File("t.vkn");
  EXPECT_TRUE(platform::WriteFileAtomic(path, bytes));
  VkcConfiguration tree;
  try {
    VkcCfgArchiver ar(path, true);
    return tree.Load(ar) ? "ok" : "false";
  } catch (const CfgArchiveError&) {
    return "archive";
  } catch (const CfgFileError&) {
    return "file";
  }
}

void ExpectSameTree(const CfgNode& a, const CfgNode& b, const std::string& where = "ROOT") {
  SCOPED_TRACE(where);
  EXPECT_EQ(a.GetName(), b.GetName());
  EXPECT_EQ(a.GetType(), b.GetType());
  EXPECT_EQ(a.GetScalar(), b.GetScalar());
  EXPECT_EQ(a.GetString(), b.GetString());
  EXPECT_EQ(a.GetWString(), b.GetWString());
  EXPECT_EQ(a.GetByteVector(), b.GetByteVector());
  EXPECT_EQ(a.GetLink(), b.GetLink());
  ASSERT_EQ(a.GetChildCount(), b.GetChildCount());
  for (size_t i = 0; i < a.GetChildCount(); ++i) ExpectSameTree(a.ChildAt(i), b.ChildAt(i), where + "/" + std::to_string(i));
}

// A tree with every type, empty and non-ASCII names, a surrogate pair and bytes that look like frames.
VkcConfiguration SampleTree() {
  VkcConfiguration tree;
  tree.GetSection("None");
  tree.GetSection("Bool").SetBool(true);
  tree.GetSection("Int").SetInt(0xFFFFFFFEu);
  tree.GetSection("Narrow").SetText("Call \x80\xFF sign");
  const uint8_t frames[] = {0x53, 0x54, 0x00, 0x53, 0x4E, 0x4C, 0x54};
  tree.GetSection("Bytes").SetBytes(frames, sizeof frames);
  tree.GetSection(u"Wide \u00E9\U0001F600").SetWString(u"Gr\u00FC\u00DFe \U0001F600 \xD83D\xDE00");
  CfgNode& level1 = tree.GetChild(7);  // six unnamed empty nodes in between
  level1.GetChildAt(1).GetChild("Leaf").SetInt(3);
  level1.GetChildAt(1).GetChild("Leaf").SetBytes("\0\1", 2);
  level1.GetChildAt(2).SetBool(false);
  return tree;
}

const char kRateNode[] = "53 1e000000 08000000 5200 6100 7400 6500 4e 02 05000000 00000000 00000000 54";

}  // namespace

TEST(VkcCfgArchiver, GoldenBytes) {
  CfgNode rate(u"Rate");
  rate.SetInt(5);
  VkcMemoryStream stream;
  VkcCfgArchiver ar;
  ar.Attach(stream, false);
  ASSERT_TRUE(rate.Save(ar));
  EXPECT_EQ(stream.TakeBytes(), Hex(kRateNode));

  VkcConfiguration tree;
  tree.GetSection("Rate").SetInt(5);
  const std::vector<uint8_t> record =
      Hex(std::string("00000000 53 3e000000 08000000 5200 4f00 4f00 5400 4e 00 00000000 00000000 00000000 ") + kRateNode + " 54");
  ASSERT_EQ(record.size(), 68u);
  EXPECT_EQ(Store(tree), record);

  VkcConfiguration loaded(0x4242);
  VkcMemoryStream in(record);
  VkcCfgArchiver reader;
  reader.Attach(in, true);
  ASSERT_TRUE(loaded.Load(reader));
  EXPECT_EQ(in.Position(), 68u);
  EXPECT_EQ(loaded.GetId(), 0x4242u);
  EXPECT_EQ(loaded.Root().GetName(), u"ROOT");
  ASSERT_EQ(loaded.Root().GetChildCount(), 1u);
  EXPECT_EQ(loaded.GetChild(0).GetName(), u"Rate");
  EXPECT_EQ(loaded.GetChild(0).GetType(), CfgNode::kTypeInt);
  EXPECT_EQ(loaded.GetChild(0).GetScalar(), 5u);
}

TEST(VkcCfgArchiver, RoundTripsEveryTypeThroughStreamAndFile) {
  const VkcConfiguration tree = SampleTree();
  const std::vector<uint8_t> bytes = Store(tree);
  VkcConfiguration loaded;
  ASSERT_TRUE(LoadQuiet(bytes, loaded));
  ExpectSameTree(tree.Root(), loaded.Root());
  EXPECT_EQ(Store(loaded), bytes);

  testsupport::TempDir dir;
  const std::string path = dir.File("round.vkn");
  {
    VkcCfgArchiver ar(path, false);
    ASSERT_TRUE(tree.Save(ar));
    ASSERT_TRUE(ar.Close());
  }
  std::vector<uint8_t> onDisk;
  ASSERT_EQ(platform::ReadWholeFile(path, onDisk, 1 << 20), platform::ReadResult::Ok);
  EXPECT_EQ(onDisk, bytes);
  VkcConfiguration fromFile(VkcConfiguration::kTempId + 77);
  VkcCfgArchiver in(std::u16string(path.begin(), path.end()), true);
  ASSERT_TRUE(fromFile.Load(in));
  EXPECT_EQ(fromFile.GetId(), VkcConfiguration::kTempId + 77);  // the stored id 0 is discarded
  ExpectSameTree(tree.Root(), fromFile.Root());
}

TEST(VkcCfgArchiver, DocumentedLossesAndRootName) {
  VkcConfiguration tree;
  CfgNode& wide = tree.GetSection("W");
  wide.SetString("lost narrow");
  wide.SetWString(u"kept");
  CfgNode& integer = tree.GetSection("I");
  integer.SetWString(u"lost wide");
  integer.SetString("kept call sign");
  integer.SetInt(250);  // the unit images keep a delay and a call sign in one node
  tree.Root().SetName(u"Other");
  tree.Root().GetChildAt(0);
  VkcConfiguration loaded;
  ASSERT_TRUE(LoadQuiet(Store(tree), loaded));
  EXPECT_EQ(loaded.Root().GetName(), u"Other");
  EXPECT_EQ(loaded.GetSection("W").GetWString(), u"kept");
  EXPECT_EQ(loaded.GetSection("W").GetString(), "");
  EXPECT_EQ(loaded.GetSection("I").GetString(), "kept call sign");
  EXPECT_EQ(loaded.GetSection("I").GetScalar(), 250u);
  EXPECT_EQ(loaded.GetSection("I").GetWString(), u"");
  EXPECT_EQ(tree.Root().GetResident(), 1u);
  EXPECT_EQ(loaded.Root().GetResident(), 1u);
}

TEST(VkcCfgArchiver, LoadReplacesChildrenAndSkipsUnknownTrailingBytes) {
  VkcConfiguration tree;
  tree.GetSection("A").GetChild("Deep").SetInt(1);
  tree.GetSection("B").SetInt(2);
  std::vector<uint8_t> bytes = Store(tree);
  // Add unknown bytes after node A's last child and after the root's last child (B), fixing each L.
  const std::vector<uint8_t> extra = {0x01, 0x54, 0x53 + 1, 0x00, 0xFF};
  // Root: 4 id + 1 'S' at 4, L at 5. A starts after root's header: 4+1+4+4+8 + body(14) = 35.
  const size_t rootL = 5, aStart = 35, aL = aStart + 1;
  uint32_t aLen = bytes[aL] | bytes[aL + 1] << 8;
  const size_t aEnd = aL + aLen;  // position of A's 'T'
  ASSERT_EQ(bytes[aEnd], 0x54);
  bytes.insert(bytes.begin() + static_cast<std::ptrdiff_t>(aEnd), extra.begin(), extra.end());
  PatchU32(bytes, aL, aLen + static_cast<uint32_t>(extra.size()));
  const size_t rootEnd = bytes.size() - 1;
  bytes.insert(bytes.begin() + static_cast<std::ptrdiff_t>(rootEnd), extra.begin(), extra.end());
  PatchU32(bytes, rootL, static_cast<uint32_t>(rootEnd + extra.size() - rootL));

  VkcConfiguration loaded;
  loaded.GetSection("Stale").GetChildAt(9);
  ASSERT_TRUE(LoadQuiet(bytes, loaded));
  ExpectSameTree(tree.Root(), loaded.Root());
  EXPECT_EQ(loaded.Root().FindChild("Stale"), nullptr);
}

TEST(VkcCfgArchiver, LoadOverHeldValuesReplacesNamesTextsAndLinks) {
  VkcConfiguration tree;
  tree.Root().SetWString(u"short");
  tree.GetSection("A").SetText("abc");
  tree.GetSection("B").SetWString(u"");
  for (int i = 0; i < 40; ++i) tree.GetSection("Many").GetChildAt(i).SetInt(static_cast<uint32_t>(i));
  const std::vector<uint8_t> bytes = Store(tree);

  // The target already holds longer names and texts, a link, and more children than the record.
  VkcConfiguration loaded;
  loaded.Root().SetName(u"A much longer root name than ROOT");
  loaded.Root().SetWString(u"a wide text far longer than the one stored");
  loaded.Root().Link() = CfgLink{0x1234, {{CfgLinkStep::kByIndex, 0, u""}}};
  loaded.GetSection("Old").GetChildAt(60);
  ASSERT_TRUE(LoadQuiet(bytes, loaded));
  ExpectSameTree(tree.Root(), loaded.Root());
  EXPECT_FALSE(loaded.Root().GetLink().IsLink());
  EXPECT_EQ(loaded.GetSection("Many").GetChildCount(), 40u);

  // Loading the same bytes again over the loaded tree changes nothing.
  ASSERT_TRUE(LoadQuiet(bytes, loaded));
  ExpectSameTree(tree.Root(), loaded.Root());
  EXPECT_EQ(Store(loaded), bytes);
}

TEST(VkcCfgArchiver, LinkRecordsAreKeptAndSavedBackUnchanged) {
  // Root with one child: a link to tree 0x54454D50, steps (1, 2, "") and (0, 0, "Rate").
  std::vector<uint8_t> child = {0x53};
  PutU32(child, 0);
  PutU32(child, 2);
  child.insert(child.end(), {'X', 0});
  child.push_back('L');
  PutU32(child, 0x54454D50);
  PutU32(child, 2);
  PutU32(child, 1), PutU32(child, 2), PutU32(child, 0);
  PutU32(child, 0), PutU32(child, 0), PutU32(child, 8);
  child.insert(child.end(), {'R', 0, 'a', 0, 't', 0, 'e', 0});
  PatchU32(child, 1, static_cast<uint32_t>(child.size() - 1));
  child.push_back('T');
  std::vector<uint8_t> record = Hex("00000000 53 00000000 08000000 5200 4f00 4f00 5400 4e 00 00000000 00000000 00000000");
  record.insert(record.end(), child.begin(), child.end());
  PatchU32(record, 5, static_cast<uint32_t>(record.size() - 5));
  record.push_back('T');

  VkcConfiguration loaded;
  ASSERT_TRUE(LoadQuiet(record, loaded));
  const CfgLink& link = loaded.GetChild(0).GetLink();
  EXPECT_EQ(link.targetId, 0x54454D50u);
  ASSERT_EQ(link.steps.size(), 2u);
  EXPECT_EQ(link.steps[0], (CfgLinkStep{1, 2, u""}));
  EXPECT_EQ(link.steps[1], (CfgLinkStep{0, 0, u"Rate"}));
  // Navigating through the unresolvable link neither crashes nor creates anything elsewhere.
  loaded.GetChild(0).GetChild("Rate").SetInt(1);
  EXPECT_EQ(Store(loaded), record);  // children of a link node are not archived
}

TEST(VkcCfgArchiver, CorruptInputsFailCleanlyInBothModes) {
  const std::vector<uint8_t> good = Store(SampleTree());
  std::vector<std::pair<std::string, std::vector<uint8_t>>> cases;
  for (size_t cut = 0; cut < good.size(); cut += (cut < 80 ? 1 : 7)) {
    cases.emplace_back("truncated at " + std::to_string(cut), std::vector<uint8_t>(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(cut)));
  }
  auto patched = [&](const char* what, size_t at, uint32_t value) {
    std::vector<uint8_t> b = good;
    PatchU32(b, at, value);
    cases.emplace_back(what, b);
  };
  patched("root L too small", 5, 7);
  patched("root L too large", 5, static_cast<uint32_t>(good.size()));
  patched("root L huge", 5, 0xFFFFFFFFu);
  patched("odd name size", 9, 7);
  patched("name beyond node", 9, 0x7FFFFFF0u);
  patched("text count huge", 4 + 1 + 4 + 4 + 8 + 1 + 1 + 4, 0xFFFFFFFFu);
  patched("byte count huge", 4 + 1 + 4 + 4 + 8 + 1 + 1 + 4 + 4, 0xFFFFFFF0u);
  {
    std::vector<uint8_t> b = good;
    b[4] = 'X';
    cases.emplace_back("bad node start", b);
    b = good;
    b.back() = 'U';
    cases.emplace_back("bad node end", b);
  }
  {
    // 10,000 nested nodes, each well framed.
    std::vector<uint8_t> b = {0, 0, 0, 0};
    const size_t depth = 10000;
    const size_t inner = 8 + 1 + 1 + 4 + 4 + 4;  // L, N, body without a name
    for (size_t i = 0; i < depth; ++i) {
      b.push_back('S');
      PutU32(b, static_cast<uint32_t>(inner + (depth - 1 - i) * (inner + 2)));
      PutU32(b, 0);
      b.insert(b.end(), {'N', 0, 0, 0, 0, 0});
      PutU32(b, 0);
      PutU32(b, 0);
    }
    b.insert(b.end(), depth, 'T');
    cases.emplace_back("deep nesting", b);
  }
  {
    std::vector<uint8_t> b = Hex("00000000 53 00000000 00000000 4c 01000000 ffffffff");
    PatchU32(b, 5, static_cast<uint32_t>(b.size() - 5));
    b.push_back('T');
    cases.emplace_back("link step count huge", b);
    b = Hex("00000000 53 00000000 00000000 4e 06 00000000 03000000 410042 00000000");
    PatchU32(b, 5, static_cast<uint32_t>(b.size() - 5));
    b.push_back('T');
    cases.emplace_back("odd wide text size", b);
  }
  for (const auto& [what, bytes] : cases) {
    SCOPED_TRACE(what);
    VkcConfiguration tree;
    EXPECT_FALSE(LoadQuiet(bytes, tree));
    EXPECT_EQ(LoadThrowing(bytes), "archive");
  }
  // The deep file fails at the bound: 64 levels load when well formed.
  VkcConfiguration deep;
  CfgNode* node = &deep.Root();
  for (size_t i = 1; i < VkcCfgArchiver::kMaxDepth; ++i) node = &node->GetChildAt(0);
  VkcConfiguration back;
  EXPECT_TRUE(LoadQuiet(Store(deep), back));
  node->GetChildAt(0);
  EXPECT_FALSE(LoadQuiet(Store(deep), back));
}

TEST(VkcCfgArchiver, FileErrorsAndAtomicStores) {
  testsupport::TempDir dir;
  const std::string path = dir.File("conf.vkn");
  try {
    VkcCfgArchiver ar(path, true);
    FAIL() << "no exception for a missing file";
  } catch (const CfgFileError& e) {
    EXPECT_EQ(e.Cause(), ENOENT);
    EXPECT_EQ(e.Path(), path);
  }
  VkcCfgArchiver quiet;
  EXPECT_FALSE(quiet.Open(path, true));
  EXPECT_FALSE(quiet.IsOpen());
  {
    // Larger than the bound: refused without reading it.
    const std::string big = dir.File("big.vkn");
    FILE* f = std::fopen(big.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    ASSERT_EQ(::ftruncate(fileno(f), static_cast<off_t>(platform::kMaxArchiveFileSize + 1)), 0);
    std::fclose(f);
    try {
      VkcCfgArchiver ar(big, true);
      FAIL() << "no exception for a huge file";
    } catch (const CfgFileError& e) {
      EXPECT_EQ(e.Cause(), EFBIG);
    }
  }

  const VkcConfiguration tree = SampleTree();
  {
    VkcCfgArchiver ar(path, false);
    ASSERT_TRUE(tree.Save(ar));
  }  // the destructor writes a complete store
  std::vector<uint8_t> old;
  ASSERT_EQ(platform::ReadWholeFile(path, old, 1 << 20), platform::ReadResult::Ok);
  ASSERT_EQ(old, Store(tree));

  VkcConfiguration changed = tree;
  changed.GetSection("Int").SetInt(1);
  for (auto step : {platform::WriteStep::CreateTemp, platform::WriteStep::Write, platform::WriteStep::SyncFile,
                    platform::WriteStep::Rename}) {
    platform::SetWriteFailureForTest(step);
    EXPECT_THROW(
        {
          VkcCfgArchiver ar(path, false);
          changed.Save(ar);
          ar.Close();
        },
        CfgFileError);
    VkcCfgArchiver quietStore;
    ASSERT_TRUE(quietStore.Open(path, false));
    changed.Save(quietStore);
    EXPECT_THROW(quietStore.Close(), CfgFileError);  // write errors raise in every mode
    platform::SetWriteFailureForTest(std::nullopt);
    std::vector<uint8_t> now;
    ASSERT_EQ(platform::ReadWholeFile(path, now, 1 << 20), platform::ReadResult::Ok);
    EXPECT_EQ(now, old);
  }

  // Abandoned or failed stores never touch the file.
  {
    VkcCfgArchiver ar(path, false);
  }
  {
    VkcCfgArchiver ar(path, false);
    ar.WriteU32(0);
    std::u16string name = u"ROOT";
    ar.BeginNode(name);
    EXPECT_FALSE(ar.Close());
  }
  {
    VkcCfgArchiver ar;
    ar.Open(path, false);
    ar.EndNode();
    EXPECT_TRUE(ar.Failed());
    EXPECT_FALSE(ar.Close());
  }
  std::vector<uint8_t> now;
  ASSERT_EQ(platform::ReadWholeFile(path, now, 1 << 20), platform::ReadResult::Ok);
  EXPECT_EQ(now, old);
}

TEST(VkcCfgArchiver, MisuseFailsWithoutThrowingInQuietMode) {
  VkcCfgArchiver ar;
  uint32_t v = 7;
  ar.ReadU32(v);
  EXPECT_EQ(v, 7u);
  EXPECT_TRUE(ar.Failed());
  VkcMemoryStream stream;
  ar.Attach(stream, false);
  EXPECT_FALSE(ar.Failed());
  EXPECT_FALSE(ar.HasMoreNodes());
  ar.ReadU32(v);  // reading while storing
  EXPECT_TRUE(ar.Failed());
  EXPECT_FALSE(ar.EndNode());
  ar.Detach();

  VkcCfgArchiver thrower("/nonexistent-dir/x.vkn", false);
  EXPECT_THROW(thrower.EndNode(), CfgArchiveError);
  EXPECT_FALSE(thrower.IsOpen());  // a framing failure closes the archiver first
}

TEST(VkcCfgArchiver, SettingsKeyMapsToTheSettingsFile) {
  testsupport::TempDir dir;
  ::setenv("XDG_CONFIG_HOME", dir.Path().c_str(), 1);
  const std::string key = "HKLM\\SOFTWARE\\Velkor Communcations\\Modulink";
  EXPECT_THROW(VkcCfgArchiver("HKXX\\SOFTWARE", true, true), CfgArchiveError);
  EXPECT_THROW(VkcCfgArchiver("HKLM", true, true), CfgArchiveError);
  EXPECT_THROW(VkcCfgArchiver(key, true, true), CfgArchiveError);  // a missing key is a user error
  VkcCfgArchiver quiet;
  EXPECT_FALSE(quiet.Open(key, true, true));

  const VkcConfiguration tree = SampleTree();
  {
    VkcCfgArchiver ar("hkey_local_machine\\SOFTWARE\\Velkor Communcations\\Modulink", false, true);
    ASSERT_TRUE(tree.Save(ar));
    ASSERT_TRUE(ar.Close());  // creates the folders
  }
  EXPECT_EQ(platform::SettingsFilePath(), dir.Path() + "/Velkor Communcations/Modulink/settings.vkc");
  std::vector<uint8_t> onDisk;
  ASSERT_EQ(platform::ReadWholeFile(platform::SettingsFilePath(), onDisk, 1 << 20), platform::ReadResult::Ok);
  EXPECT_EQ(onDisk, Store(tree));
  VkcConfiguration back;
  VkcCfgArchiver in(key, true, true);
  ASSERT_TRUE(back.Load(in));
  ExpectSameTree(tree.Root(), back.Root());

  platform::SetWriteFailureForTest(platform::WriteStep::Rename);
  EXPECT_THROW(
      {
        VkcCfgArchiver ar(key, false, true);
        tree.Save(ar);
        ar.Close();
      },
      CfgArchiveError);
  platform::SetWriteFailureForTest(std::nullopt);
  ::unsetenv("XDG_CONFIG_HOME");
}
