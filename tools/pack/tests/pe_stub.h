// The synthetic stub the PE tests write into: code, data, a resource section holding a manifest,
// a version resource, one string of its own and a named resource, and base relocations, in the
// section orders a linker may produce.
#pragma once

#include <string>

#include "pe/resource_set.h"
#include "pe_test_image.h"

namespace pack::pe::testing {

enum class Layout { kResourcesThenRelocations, kResourcesLast, kResourcesInside, kNoResources };

inline std::string StubManifest() {
    return "<assembly manifestVersion=\"1.0\"><trustInfo/></assembly>";
}
inline std::string StubVersion() {
    return Filler(92, 'V');
}
inline std::string StubStringBlock() {  // block 63: ids 992 to 1007; "stub" at 1000
    return std::string(8 * 2, '\0') + std::string("\x04\0s\0t\0u\0b\0", 10) +
           std::string(7 * 2, '\0');
}

inline std::vector<Node> StubTree() {
    return {Leaf3(NameNode(u"STUBDATA"), NameNode(u"LOGO"), 0, Filler(33, 'L')),
            Leaf3(IdNode(kRtString), IdNode(63), kLangChinesePrc, StubStringBlock()),
            Leaf3(IdNode(kRtVersion), IdNode(1), kLangChinesePrc, StubVersion()),
            Leaf3(IdNode(kRtManifest), IdNode(1), kLangEnglishUs, StubManifest())};
}

inline TestSection Code() {
    return {".text", [](std::uint32_t) { return Filler(1500, 'c'); }, 0, 0x60000020};
}
inline TestSection Data() {
    return {".data", [](std::uint32_t) { return Filler(700, 'd'); }, 0x2345, 0xC0000040};
}
inline TestSection Resources() {
    return {".rsrc", [](std::uint32_t at) { return TreeBuilder().Build(StubTree(), at); }, 0,
            0x40000040, 2};
}
inline TestSection Relocations() {
    return {".reloc", [](std::uint32_t) { return Filler(130, 'r'); }, 0, 0x42000040, 5};
}

inline std::string BuildStub(Layout layout, bool pe32_plus, std::uint32_t file_alignment) {
    // Room for one more section header, as linkers leave.
    ImageSpec spec{pe32_plus, file_alignment, 4096, {}, 40};
    switch (layout) {
        case Layout::kResourcesThenRelocations:
            spec.sections = {Code(), Data(), Resources(), Relocations()};
            break;
        case Layout::kResourcesLast:
            spec.sections = {Code(), Data(), Resources()};
            break;
        case Layout::kResourcesInside:
            spec.sections = {Code(), Resources(), Data(), Relocations()};
            break;
        case Layout::kNoResources:
            spec.sections = {Code(), Data(), Relocations()};
            break;
    }
    return BuildImage(spec);
}

}  // namespace pack::pe::testing
