#include "layout.h"

#include <cstdio>
#include <numeric>

#include "random.h"

namespace bigpayload {

namespace {

constexpr std::uint64_t kTotal = 95'544'095;

struct Group {
    std::vector<FileSpec> fixed;  // named files with their own sizes
    std::vector<FileSpec> drawn;  // sizes drawn at random, then scaled to fill the group
    std::uint64_t total;          // bytes of the whole group
};

// Gives the drawn files random weights and sizes that make the group add up exactly.
void FillSizes(Group& group, Random& random) {
    std::uint64_t fixed = 0;
    for (const FileSpec& f : group.fixed) fixed += f.size;
    const std::uint64_t rest = group.total - fixed;
    std::vector<double> weights;
    for (std::size_t i = 0; i < group.drawn.size(); ++i)
        weights.push_back(0.2 + random.Unit() * random.Unit() * 3.0);
    const double sum = std::accumulate(weights.begin(), weights.end(), 0.0);
    std::uint64_t given = 0;
    for (std::size_t i = 0; i < group.drawn.size(); ++i) {
        group.drawn[i].size = i + 1 == group.drawn.size()
                                  ? rest - given
                                  : static_cast<std::uint64_t>(rest * weights[i] / sum);
        given += group.drawn[i].size;
    }
}

std::string Numbered(const char* format, int n) {
    char name[96];
    std::snprintf(name, sizeof name, format, n);
    return name;
}

Group Root() {
    Group g{{{"TessikOne商贸版.Exe", 24'202'752, Kind::Program},
             {"TessikOne商贸版服务器.exe", 9'830'400, Kind::Program},
             {"scktsrvr.exe", 1'118'208, Kind::Program},
             {"RuDavovo.exe", 2'457'600, Kind::Program},
             {"uninstall.exe", 614'400, Kind::Program},
             {"TessikOne帮助.chm", 3'276'800, Kind::Help},
             {"CONFIG.INI", 412, Kind::Text},
             {"POS.ini", 236, Kind::Text},
             {"posini.ini", 188, Kind::Text},
             {"Swccfg.dat", 2'048, Kind::Database},
             {"readme.txt", 1'530, Kind::Text},
             {"更新说明.txt", 3'870, Kind::Text}},
            {},
            57'600'000};
    const char* libraries[] = {"TsBase.dll",  "TsReport.dll", "TsPrint.dll",   "TsNet.dll",
                               "TsPos.dll",   "TsStock.dll",  "TsSale.dll",    "TsBuy.dll",
                               "TsChart.dll", "TsExcel.dll",  "TsBarcode.dll", "TsCard.dll",
                               "TsSkin.dll",  "TsUpdate.dll", "TsData.bpl"};
    for (const char* name : libraries) g.drawn.push_back({name, 0, Kind::Program});
    return g;
}

Group Data() {
    Group g{{{"data\\PrintDB.mdb", 3'407'872, Kind::Database},
             {"data\\TessikOne.mdb", 7'340'032, Kind::Database}},
            {},
            18'400'000};
    const char* files[] = {
        "data\\Area.dat",     "data\\Bank.dat",    "data\\Unit.dat",     "data\\Tax.dat",
        "data\\模板.mdb",     "data\\Print.cfg",   "data\\DBConfig.ini", "data\\Menu.xml",
        "data\\基础资料.xml", "data\\Label.lbl",   "data\\Ticket.lbl",   "data\\Barcode.dat",
        "data\\Card.dat",     "data\\Stock.idx",   "data\\Sale.idx",     "data\\Buy.idx",
        "data\\Sample.mdb",   "data\\Upgrade.sql", "data\\Init.sql"};
    for (const char* name : files) {
        std::string path = name;
        Kind kind = path.ends_with(".mdb") || path.ends_with(".dat") || path.ends_with(".idx")
                        ? Kind::Database
                        : Kind::Text;
        g.drawn.push_back({path, 0, kind});
    }
    return g;
}

Group Logs() {
    Group g{{}, {}, 520'000};
    for (int day = 1; day <= 7; ++day)
        g.drawn.push_back({Numbered("data\\log\\2024-01-%02d.log", day), 0, Kind::Text});
    g.drawn.push_back({"data\\log\\同步.log", 0, Kind::Text});
    return g;
}

Group Reports() {
    Group g{{}, {}, 2'150'000};
    const char* names[] = {"销售单",   "采购单",   "库存盘点",   "调拨单",   "收款单",
                           "付款单",   "客户对账", "供应商对账", "销售汇总", "采购汇总",
                           "库存汇总", "利润表",   "Inventory"};
    for (const char* name : names)
        g.drawn.push_back({std::string("RepCenter\\") + name + ".rpt", 0, Kind::Text});
    return g;
}

Group Skins(std::uint64_t total) {
    Group g{{}, {}, total};
    for (int i = 0; i < 192; ++i) {
        if (i % 4 == 1)
            g.drawn.push_back({Numbered("Skin\\背景%03d.bmp", i), 0, Kind::Bitmap});
        else if (i % 4 == 3)
            g.drawn.push_back({Numbered("Skin\\photo%03d.jpg", i), 0, Kind::Image});
        else
            g.drawn.push_back({Numbered("Skin\\icon%03d.png", i), 0, Kind::Image});
    }
    return g;
}

}  // namespace

std::vector<FileSpec> PayloadLayout() {
    Random random(20170602);
    std::vector<Group> groups = {Root(), Data(), Logs(), Reports()};
    std::uint64_t others = 0;
    for (const Group& g : groups) others += g.total;
    groups.push_back(Skins(kTotal - others));
    std::vector<FileSpec> files;
    for (Group& g : groups) {
        FillSizes(g, random);
        files.insert(files.end(), g.fixed.begin(), g.fixed.end());
        files.insert(files.end(), g.drawn.begin(), g.drawn.end());
    }
    return files;
}

}  // namespace bigpayload
