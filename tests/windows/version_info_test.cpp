#include "base/version_info_win.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "app/version_display.h"

namespace {

// Builds version-information blocks in the layout the system reads from executables: each node
// is length, value length, type, a zero-terminated UTF-16 key, then its value and its children,
// each aligned to four bytes.
struct Node {
  std::u16string key;
  std::vector<std::uint8_t> value;
  bool text = false;
  std::vector<Node> children;
};

void Align(std::vector<std::uint8_t>& out) {
  while (out.size() % 4) out.push_back(0);
}

void Put16(std::vector<std::uint8_t>& out, std::size_t at, std::size_t value) {
  out[at] = static_cast<std::uint8_t>(value);
  out[at + 1] = static_cast<std::uint8_t>(value >> 8);
}

void Serialize(const Node& node, std::vector<std::uint8_t>& out) {
  Align(out);
  const std::size_t start = out.size();
  out.resize(start + 6);
  Put16(out, start + 2, node.text ? node.value.size() / 2 : node.value.size());
  Put16(out, start + 4, node.text ? 1 : 0);
  for (char16_t c : node.key + u'\0') {
    out.push_back(static_cast<std::uint8_t>(c));
    out.push_back(static_cast<std::uint8_t>(c >> 8));
  }
  Align(out);
  out.insert(out.end(), node.value.begin(), node.value.end());
  for (const Node& child : node.children) Serialize(child, out);
  Put16(out, start, out.size() - start);
}

Node Text(const std::u16string& key, const std::u16string& value) {
  Node node{key, {}, true, {}};
  for (char16_t c : value + u'\0') {
    node.value.push_back(static_cast<std::uint8_t>(c));
    node.value.push_back(static_cast<std::uint8_t>(c >> 8));
  }
  return node;
}

std::vector<std::uint8_t> Fixed(std::uint32_t versionMS, std::uint32_t versionLS,
                                std::uint32_t flags = 0,
                                std::uint32_t flagsMask = VS_FFI_FILEFLAGSMASK) {
  VS_FIXEDFILEINFO fixed{};
  fixed.dwFileFlags = flags;
  fixed.dwFileFlagsMask = flagsMask;
  fixed.dwSignature = 0xFEEF04BD;
  fixed.dwStrucVersion = 0x00010000;
  fixed.dwFileVersionMS = fixed.dwProductVersionMS = versionMS;
  fixed.dwFileVersionLS = fixed.dwProductVersionLS = versionLS;
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(&fixed);
  return {bytes, bytes + sizeof(fixed)};
}

struct BlockLayout {
  std::vector<std::uint8_t> fixed = Fixed(0x00060031, 0);
  std::u16string table = u"041904E3";
  std::u16string fileVersion = u"6.49.0.0";
  std::vector<std::uint16_t> translation = {0x0419, 1251};
};

VersionInfo Block(const BlockLayout& layout) {
  Node table{layout.table,
             {},
             false,
             {Text(u"ProductVersion", u"6.49"), Text(u"FileVersion", layout.fileVersion)}};
  Node root{u"VS_VERSION_INFO", layout.fixed, false, {Node{u"StringFileInfo", {}, true, {table}}}};
  if (!layout.translation.empty()) {
    Node translation{u"Translation", {}, false, {}};
    for (std::uint16_t half : layout.translation) {
      translation.value.push_back(static_cast<std::uint8_t>(half));
      translation.value.push_back(static_cast<std::uint8_t>(half >> 8));
    }
    root.children.push_back(Node{u"VarFileInfo", {}, true, {translation}});
  }
  std::vector<std::uint8_t> bytes;
  Serialize(root, bytes);
  return VersionInfo(bytes);
}

TEST(VersionInfo, ReadsTheFixedWordAndTheFirstTranslationsFileVersion) {
  BlockLayout layout;
  layout.fixed = Fixed(0x00010002, 0x00030004);
  EXPECT_EQ(CaptionVersionSuffix(Block(layout).FixedVersionWord()), " v1.2");
  EXPECT_EQ(Block(layout).FileVersionString(), "6.49.0.0");
}

TEST(VersionInfo, StringAndFixedNumbersAreNotReconciled) {
  BlockLayout layout;
  layout.fileVersion = u"7.0.1.5 сборка";
  EXPECT_EQ(Block(layout).FileVersionString(), "7.0.1.5 сборка");
  EXPECT_EQ(CaptionVersionSuffix(Block(layout).FixedVersionWord()), " v6.49");
}

TEST(VersionInfo, OnlyTheFirstTranslationCounts) {
  BlockLayout layout;
  layout.translation = {0x0409, 1252, 0x0419, 1251};
  EXPECT_EQ(Block(layout).FileVersionString(), "");
  layout.table = u"040904E4";
  EXPECT_EQ(Block(layout).FileVersionString(), "6.49.0.0");
}

TEST(VersionInfo, NoTranslationOrAnOutOfRangeCodePageGivesNoString) {
  BlockLayout noTranslation;
  noTranslation.translation = {};
  EXPECT_EQ(Block(noTranslation).FileVersionString(), "");
  BlockLayout highCodePage;
  highCodePage.translation = {0x0419, 0x8000};
  highCodePage.table = u"04198000";
  EXPECT_EQ(Block(highCodePage).FileVersionString(), "");
}

TEST(VersionInfo, MissingFixedPartOrTopBitSetEndsInARangeCheck) {
  BlockLayout noFixed;
  noFixed.fixed = {};
  EXPECT_EQ(Block(noFixed).FixedVersionWord(), kNoFixedVersion);
  BlockLayout topBit;
  topBit.fixed = Fixed(0x80000001, 0);
  EXPECT_EQ(Block(topBit).FixedVersionWord(), 0x80000001u);
  EXPECT_ANY_THROW(CaptionVersionSuffix(Block(topBit).FixedVersionWord()));
  EXPECT_EQ(VersionInfo({}).FixedVersionWord(), kNoFixedVersion);
  EXPECT_EQ(VersionInfo({}).FileVersionString(), "");
}

TEST(VersionInfo, FileFlagsCountWhereTheMaskDeclaresThem) {
  static_assert(kPrivateBuildFlag == VS_FF_PRIVATEBUILD);
  BlockLayout layout;
  layout.fixed = Fixed(0x00060031, 0, VS_FF_PRIVATEBUILD | VS_FF_DEBUG, VS_FF_PRIVATEBUILD);
  EXPECT_EQ(Block(layout).FixedFileFlags(), kPrivateBuildFlag);
  layout.fixed = Fixed(0x00060031, 0, VS_FF_PRIVATEBUILD, VS_FF_DEBUG);
  EXPECT_EQ(Block(layout).FixedFileFlags(), 0u);
  layout.fixed = {};
  EXPECT_EQ(Block(layout).FixedFileFlags(), 0u);
}

TEST(VersionInfo, FileWithoutVersionResourceGivesNothing) {
  wchar_t path[MAX_PATH];
  GetModuleFileNameW(nullptr, path, MAX_PATH);  // the test program carries no version resource
  const VersionInfo own = VersionInfo::OfFile(std::string(path, path + wcslen(path)));
  EXPECT_EQ(own.FixedVersionWord(), kNoFixedVersion);
  EXPECT_EQ(own.FileVersionString(), "");
  EXPECT_EQ(own.FixedFileFlags(), 0u);
}

}  // namespace
