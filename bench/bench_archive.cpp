// Archive load and store of a large settings tree: 100,000 nodes on 4 levels, names of 4-12
// characters, half integers, a quarter narrow texts of 8-32 bytes, 15% wide texts, 10% byte blocks
// of 16 bytes. Prints store and load throughput and, last, the ratio of the load time to reading
// the same file into memory.
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "link/VkcCfgArchiver.h"
#include "link/VkcConfiguration.h"
#include "link/VkcMemoryStream.h"
#include "platform/Files.h"

namespace {

constexpr size_t kNodes = 100000;
constexpr int kRuns = 15;

void FillNode(CfgNode& node, std::mt19937& rng) {
  const int kind = static_cast<int>(rng() % 100);
  if (kind < 50) {
    node.SetInt(static_cast<uint32_t>(rng()));
  } else if (kind < 75) {
    std::string text(8 + rng() % 25, ' ');
    for (char& c : text) c = static_cast<char>(' ' + rng() % 95);
    node.SetString(text);
  } else if (kind < 90) {
    std::u16string text(8 + rng() % 25, u' ');
    for (char16_t& c : text) c = static_cast<char16_t>(0x20 + rng() % 0x500);
    node.SetWString(text);
  } else {
    uint8_t bytes[16];
    for (uint8_t& b : bytes) b = static_cast<uint8_t>(rng());
    node.SetBytes(bytes, sizeof bytes);
  }
}

std::u16string RandomName(std::mt19937& rng) {
  std::u16string name(4 + rng() % 9, u'a');
  for (char16_t& c : name) c = static_cast<char16_t>(u'a' + rng() % 26);
  return name;
}

// Four levels below the root; each level's nodes get children until kNodes exist.
void BuildTree(VkcConfiguration& tree) {
  std::mt19937 rng(20261207);
  std::vector<CfgNode*> level = {&tree.Root()};
  size_t made = 0;
  const size_t fanout = 18;
  for (int depth = 1; depth <= 4 && made < kNodes; ++depth) {
    std::vector<CfgNode*> next;
    const size_t perParent = depth < 4 ? fanout : (kNodes - made + level.size() - 1) / level.size();
    for (CfgNode* parent : level) {
      for (size_t i = 0; i < perParent && made < kNodes; ++i, ++made) {
        CfgNode& child = parent->AppendChild(RandomName(rng));
        FillNode(child, rng);
        next.push_back(&child);
      }
    }
    level = std::move(next);
  }
}

double MedianMs(const std::function<void()>& setup, const std::function<void()>& timed, const std::function<void()>& after) {
  std::vector<double> ms;
  for (int i = 0; i < kRuns; ++i) {
    setup();
    const auto t0 = std::chrono::steady_clock::now();
    timed();
    const auto t1 = std::chrono::steady_clock::now();
    after();
    ms.push_back(std::chrono::duration<double, std::milli>(t1 - t0).count());
  }
  std::sort(ms.begin(), ms.end());
  return ms[ms.size() / 2];
}

}  // namespace

int main() {
  VkcConfiguration tree;
  BuildTree(tree);
  char folder[] = "/tmp/bench-archive-XXXXXX";
  if (!::mkdtemp(folder)) return 1;
  const std::string path = std::string(folder) + "/large.vkn";

  std::vector<uint8_t> stored;
  const double storeMemMs = MedianMs([] {}, [&] {
        VkcMemoryStream stream;
        VkcCfgArchiver ar;
        ar.Attach(stream, false);
        tree.Save(ar);
        ar.Detach();
        stored = stream.TakeBytes();
      }, [] {});
  const double storeFileMs = MedianMs([] {}, [&] {
        VkcCfgArchiver ar(path, false);
        tree.Save(ar);
        ar.Close();
      }, [] {});
  const double mb = static_cast<double>(stored.size()) / (1024.0 * 1024.0);

  std::vector<uint8_t> raw;
  const double readMs = MedianMs([&] { raw = std::vector<uint8_t>(); }, [&] {
        platform::ReadWholeFile(path, raw, platform::kMaxArchiveFileSize);
      }, [] {});
  if (raw != stored) {
    std::fprintf(stderr, "the file differs from the stored bytes\n");
    return 1;
  }

  std::unique_ptr<VkcConfiguration> loaded;
  bool ok = true;
  const double loadMs = MedianMs([&] { loaded = std::make_unique<VkcConfiguration>(); }, [&] {
        VkcCfgArchiver ar(path, true);
        ok = ok && loaded->Load(ar);
      }, [&] { loaded.reset(); });
  const double loadMemMs = MedianMs([&] { loaded = std::make_unique<VkcConfiguration>(); }, [&] {
        VkcMemoryStream stream(stored);
        VkcCfgArchiver ar;
        ar.Attach(stream, true);
        ok = ok && loaded->Load(ar);
      }, [&] { loaded.reset(); });
  if (!ok) {
    std::fprintf(stderr, "load failed\n");
    return 1;
  }

  std::printf("tree: %zu nodes, archive %.2f MB\n", kNodes, mb);
  std::printf("store to memory   %8.2f ms  %8.1f MB/s\n", storeMemMs, mb / (storeMemMs / 1000.0));
  std::printf("store to file     %8.2f ms  %8.1f MB/s  (atomic, with fsync)\n", storeFileMs, mb / (storeFileMs / 1000.0));
  std::printf("read file         %8.2f ms  %8.1f MB/s\n", readMs, mb / (readMs / 1000.0));
  std::printf("load from memory  %8.2f ms  %8.1f MB/s  (copy of the bytes included)\n", loadMemMs, mb / (loadMemMs / 1000.0));
  std::printf("load from file    %8.2f ms  %8.1f MB/s\n", loadMs, mb / (loadMs / 1000.0));
  std::error_code ec;
  std::filesystem::remove_all(folder, ec);
  std::printf("ratio load / read file: %.2f\n", loadMs / readMs);
  return 0;
}
