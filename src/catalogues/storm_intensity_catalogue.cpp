#include "catalogues/storm_intensity_catalogue.h"

#include <array>
#include <cmath>

namespace catalogues {

namespace {

// ------------------------------------------------------------ display tables

struct ProvinceEntry {
    QString name;
    QStringList cities;
};

// Provinces in list order: the four municipalities first, then the provinces
// and regions. Two-character names are written with two blanks between the
// characters, as the lists have always shown them.
const QList<ProvinceEntry>& ProvinceTable()
{
    static const QList<ProvinceEntry> table = {
        {QStringLiteral("天津市"), {QStringLiteral("天津市")}},
        {QStringLiteral("北京市"), {QStringLiteral("北京市")}},
        {QStringLiteral("上海市"), {QStringLiteral("上海市")}},
        {QStringLiteral("重庆市"), {QStringLiteral("重庆市")}},
        {QStringLiteral("河  北"),
         {QStringLiteral("石家庄"), QStringLiteral("承德"), QStringLiteral("唐山"),
          QStringLiteral("保定")}},
        {QStringLiteral("山  西"), {QStringLiteral("太原"), QStringLiteral("大同")}},
        {QStringLiteral("内蒙古"), {QStringLiteral("包头"), QStringLiteral("赤峰")}},
        {QStringLiteral("黑龙江"),
         {QStringLiteral("哈尔滨"), QStringLiteral("齐齐哈尔"), QStringLiteral("大庆"),
          QStringLiteral("佳木斯")}},
        {QStringLiteral("吉  林"),
         {QStringLiteral("长春"), QStringLiteral("通化"), QStringLiteral("延吉"),
          QStringLiteral("白城")}},
        {QStringLiteral("辽  宁"),
         {QStringLiteral("沈阳"), QStringLiteral("大连"), QStringLiteral("鞍山"),
          QStringLiteral("辽阳"), QStringLiteral("锦州")}},
        {QStringLiteral("山  东"),
         {QStringLiteral("济南"), QStringLiteral("德州"), QStringLiteral("烟台")}},
        {QStringLiteral("江  苏"),
         {QStringLiteral("南京"), QStringLiteral("徐州"), QStringLiteral("连云港"),
          QStringLiteral("无锡"), QStringLiteral("苏州"), QStringLiteral("扬州")}},
        {QStringLiteral("安  徽"),
         {QStringLiteral("合肥"), QStringLiteral("淮南"), QStringLiteral("安庆")}},
        {QStringLiteral("浙  江"),
         {QStringLiteral("杭州"), QStringLiteral("宁波"), QStringLiteral("温州")}},
        {QStringLiteral("江  西"),
         {QStringLiteral("南昌"), QStringLiteral("庐山"), QStringLiteral("赣州")}},
        {QStringLiteral("福  建"), {QStringLiteral("福州"), QStringLiteral("厦门")}},
        {QStringLiteral("河  南"),
         {QStringLiteral("郑州"), QStringLiteral("洛阳"), QStringLiteral("开封")}},
        {QStringLiteral("湖  北"), {QStringLiteral("武汉"), QStringLiteral("黄石")}},
        {QStringLiteral("湖  南"), {QStringLiteral("长沙"), QStringLiteral("衡阳")}},
        {QStringLiteral("广  东"),
         {QStringLiteral("广州"), QStringLiteral("汕头"), QStringLiteral("深圳"),
          QStringLiteral("海口")}},
        {QStringLiteral("广  西"),
         {QStringLiteral("南宁"), QStringLiteral("桂林"), QStringLiteral("柳州")}},
        {QStringLiteral("陕  西"),
         {QStringLiteral("西安"), QStringLiteral("延安"), QStringLiteral("宝鸡")}},
        {QStringLiteral("宁  夏"), {QStringLiteral("银川")}},
        {QStringLiteral("甘  肃"), {QStringLiteral("兰州")}},
        {QStringLiteral("青  海"), {QStringLiteral("西宁")}},
        {QStringLiteral("新  疆"), {QStringLiteral("乌鲁木齐")}},
        {QStringLiteral("四  川"), {QStringLiteral("成都"), QStringLiteral("宜宾")}},
        {QStringLiteral("贵  州"), {QStringLiteral("贵阳")}},
        {QStringLiteral("云  南"), {QStringLiteral("昆明")}},
    };
    return table;
}

// Cities whose formula gives the intensity i in mm/min (shown with "i=").
// 秦皇岛 has no formula row and is offered by no province.
constexpr std::array<QStringView, 9> kMillimetrePerMinuteCities = {
    u"上海市", u"秦皇岛", u"保定", u"包头", u"烟台", u"淮南", u"西安", u"延安", u"宝鸡",
};

struct CaptionRow {
    QStringView city;
    QStringView numerator;
    QStringView denominator;
};

// Formula captions as drawn beside the city lists, in the order the city
// handling tests them. Display texts only: never parsed.
constexpr std::array<CaptionRow, 71> kCaptions = {{
    {u"天津市", u"3841(1+0.85lgP)", u"(t+17)^0.85"},
    {u"北京市", u"2001(1+0.811lgP)", u"(t+8)^0.711"},
    {u"上海市", u"9.45+6.7932lgP", u"(t+5.54)^0.6514"},
    {u"重庆市", u"2822(1+0.775lgP)", u"(t+12.8P^0.076)^0.77"},
    {u"石家庄", u"1689(1+0.898lgP)", u"(t+7)^0.729"},
    {u"承德", u"2839(1+0.728lg(P-0.121)))", u"(t+9.6)^0.87"},
    {u"唐山", u"935(1+0.87lgP)", u"t^0.6"},
    {u"保定", u"14.973+10.266lgP", u"(t+13.877)^0.776"},
    {u"太原", u"880(1+0.86lgP)", u"(t+4.6)^0.62"},
    {u"大同", u"1532.7(1+1.08lgP)", u"(t+6.9)^0.87"},
    {u"包头", u"9.96(1+0.985lgP)", u"(t+5.40)^0.85"},
    {u"赤峰", u"1600(1+1.35lgP)", u"(t+10)^0.8"},
    {u"哈尔滨", u"2889(1+0.9lgP)", u"(t+10)^0.88"},
    {u"齐齐哈尔", u"1920(1+0.89lgP)", u"(t+6.4)^0.86"},
    {u"大庆", u"1820(1+0.91lgP)", u"(t+8.3)^0.77"},
    {u"佳木斯", u"2310(1+0.81lgP)", u"(t+8)^0.87"},
    {u"长春", u"1600(1+0.8lgP)", u"(t+5)^0.76"},
    {u"白城", u"662(1+0.7lgP)", u"t^0.6"},
    {u"通化", u"1154.3(1+0.7lgP)", u"t^0.6"},
    {u"延吉", u"666.2(1+0.7lgP)", u"t^0.6"},
    {u"沈阳", u"1984(1+0.77lgP)", u"(t+0.9)^0.77"},
    {u"大连", u"1900(1+0.66lgP)", u"(t+8)^0.8"},
    {u"鞍山", u"2306(1+0.701lgP)", u"(t+11)^0.757"},
    {u"辽阳", u"1220(1+0.75lgP)", u"(t+5)^0.65"},
    {u"锦州", u"2200(1+0.85lgP)", u"(t+7)^0.8"},
    {u"济南", u"1869.916(1+0.7573lgP)", u"(t+11.0911)^0.6645"},
    {u"德州", u"3082(1+0.7lgP)", u"(t+15)^0.79"},
    {u"烟台", u"6.912+7.373lgP", u"(t+9.018)^0.609"},
    {u"南京", u"2989.3(1+0.67lgP)", u"(t+13.3)^0.8"},
    {u"徐州", u"1510.7(1+0.514lgP)", u"(t+9.0)^0.64"},
    {u"连云港", u"3360.04(1+0.82lgP)", u"(t+35.7)^0.74"},
    {u"无锡", u"10579(1+0.828lgP)", u"(t+46.4)^0.99"},
    {u"苏州", u"2887.43(1+0.794lgP)", u"(t+18.8)^0.81"},
    {u"扬州", u"8248.13*(1+0.641lgP)", u"(t+40.3)^0.95"},
    {u"合肥", u"3600(1+0.76lgP)", u"(t+14)^0.84"},
    {u"淮南", u"12.8(1+0.71lgP)", u"(t+6.29)^0.71"},
    {u"安庆", u"1986.8(1+0.777lgP)", u"(t+8.404)^0.689"},
    {u"杭州", u"3360.04(1+0.639lgP)", u"(t+11.945)^0.825"},
    {u"宁波", u"8413.46(1+0.71lgP)", u"(t+22.51)^0.96"},
    {u"温州", u"2216.758(1+0.573lgP)", u"(t+12.641)^0.663"},
    {u"南昌", u"1386(1+0.69lgP)", u"(t+1.4)^0.64"},
    {u"庐山", u"2121(1+0.61lgP)", u"(t+8)^0.73"},
    {u"赣州", u"3173(1+0.56lgP)", u"(t+10)^0.79"},
    {u"福州", u"2041.102(1+0.7lgP)", u"(t+8.008)^0.691"},
    {u"厦门", u"1085.020(1+0.581lgP)", u"(t+2.954)^0.559"},
    {u"郑州", u"7650(1+1.15lg(P+0.143))", u"(t+37.3)^0.99"},
    {u"洛阳", u"3336(1+0.872lgP)", u"(t+14.8)^0.884"},
    {u"开封", u"5075(1+0.61lgP)", u"(t+19)^0.92"},
    {u"武汉", u"983(1+0.65lgP)", u"(t+4)^0.56"},
    {u"黄石", u"1871(1+0.869lgP)", u"(t+9.7)^0.746"},
    {u"长沙", u"3920(1+0.68lgP)", u"(t+17)^0.86"},
    {u"衡阳", u"892(1+0.67lgP)", u"t^0.57"},
    {u"广州", u"2424.17(1+0.533lgP)", u"(t+11.0)^0.668"},
    {u"汕头", u"1042(1+0.56lgP)", u"t^0.488"},
    {u"深圳", u"975(1+0.745lgP)", u"t^0.442"},
    {u"海口", u"2338(1+0.4lgP)", u"(t+9)^0.65"},
    {u"南宁", u"10500(1+0.707lgP)", u"t+21.1P^0.119"},
    {u"桂林", u"4230(1+0.402lgP)", u"(t+13.5)^0.841"},
    {u"北海", u"1625(1+0.437lgP)", u"(t+4)^0.57"},
    {u"西安", u"6.041(1+1.475lgP)", u"(t+14.72)^0.704"},
    {u"延安", u"5.582(1+1.292lgP)", u"(t+8.22)^0.7"},
    {u"宝鸡", u"11.01(1+0.94lgP)", u"(t+12)^0.932"},
    {u"银川", u"242(1+0.83lgP)", u"t^0.477"},
    {u"兰州", u"1140(1+0.96lgP)", u"(t+8)^0.8"},
    {u"西宁", u"308(1+1.39lgP)", u"t^0.58"},
    {u"乌鲁木齐", u"195(1+0.82lgP)", u"(t+7.8)^0.63"},
    {u"石河子", u"198P^1.318)", u"(t^0.56)*(p^0.306)"},
    {u"成都", u"2806(1+0.803lgP)", u"(t+12.8P^0.231)^0.768"},
    {u"宜宾", u"1169(1+0.828lgP)", u"(t+4.4P^0.428)^0.561"},
    {u"贵阳", u"1887(1+0.707lgP)", u"(t+9.35P^0.031)^0.695"},
    {u"昆明", u"700(1+0.775lgP)", u"t^0.496"},
}};

// ------------------------------------------------------------ numeric table

using K = StormFormulaKind;
using O = StormLogOrder;

// Coefficients of the local storm intensity formulas. The mm/min formulas
// (上海市, 保定, 包头, 烟台, 淮南, 西安, 延安, 宝鸡) are scaled to L/(s·ha) by
// 1000/6 when evaluated. Each row computes the formula its caption shows.
constexpr std::array<StormIntensityFormula, 71> kFormulas = {{
    {.city = u"天津市", .kind = K::General, .A = 3841, .C = 0.85, .b = 17, .n = 0.85},
    {.city = u"北京市", .kind = K::General, .A = 2001, .C = 0.811, .b = 8, .n = 0.711, .order = O::B},
    {.city = u"上海市", .kind = K::MillimetrePerMinuteSum, .a = 9.45, .c = 6.7932, .b = 5.54, .n = 0.6514},
    {.city = u"重庆市", .kind = K::PowerDurationTerm, .A = 2822, .C = 0.775, .n = 0.77, .k = 12.8, .m = 0.076},
    {.city = u"石家庄", .kind = K::General, .A = 1689, .C = 0.898, .b = 7, .n = 0.729},
    {.city = u"承德", .kind = K::General, .A = 2839, .C = 0.728, .b = 9.6, .n = 0.87, .s = -0.121, .order = O::B},
    {.city = u"唐山", .kind = K::General, .A = 935, .C = 0.87, .b = 0, .n = 0.6},
    {.city = u"保定", .kind = K::MillimetrePerMinuteSum, .a = 14.973, .c = 10.266, .b = 13.877, .n = 0.776},
    {.city = u"太原", .kind = K::General, .A = 880, .C = 0.86, .b = 4.6, .n = 0.62},
    {.city = u"大同", .kind = K::General, .A = 1532.7, .C = 1.08, .b = 6.9, .n = 0.87},
    {.city = u"包头", .kind = K::MillimetrePerMinuteProduct, .A = 9.96, .C = 0.985, .b = 5.4, .n = 0.85},
    {.city = u"赤峰", .kind = K::General, .A = 1600, .C = 1.35, .b = 10, .n = 0.8},
    {.city = u"哈尔滨", .kind = K::General, .A = 2889, .C = 0.9, .b = 10, .n = 0.88},
    {.city = u"齐齐哈尔", .kind = K::General, .A = 1920, .C = 0.89, .b = 6.4, .n = 0.86},
    {.city = u"大庆", .kind = K::General, .A = 1820, .C = 0.91, .b = 8.3, .n = 0.77},
    {.city = u"佳木斯", .kind = K::General, .A = 2310, .C = 0.81, .b = 8, .n = 0.87},
    {.city = u"长春", .kind = K::General, .A = 1600, .C = 0.8, .b = 5, .n = 0.76},
    {.city = u"白城", .kind = K::General, .A = 662, .C = 0.7, .b = 0, .n = 0.6},
    {.city = u"通化", .kind = K::General, .A = 1154.3, .C = 0.7, .b = 0, .n = 0.6},
    {.city = u"延吉", .kind = K::General, .A = 666.2, .C = 0.7, .b = 0, .n = 0.6},
    {.city = u"沈阳", .kind = K::General, .A = 1984, .C = 0.77, .b = 0.9, .n = 0.77},
    {.city = u"大连", .kind = K::General, .A = 1900, .C = 0.66, .b = 8, .n = 0.8},
    {.city = u"鞍山", .kind = K::General, .A = 2306, .C = 0.701, .b = 11, .n = 0.757},
    {.city = u"辽阳", .kind = K::General, .A = 1220, .C = 0.75, .b = 5, .n = 0.65},
    {.city = u"锦州", .kind = K::General, .A = 2200, .C = 0.85, .b = 7, .n = 0.8},
    {.city = u"济南", .kind = K::General, .A = 1869.916, .C = 0.7573, .b = 11.0911, .n = 0.6645},
    {.city = u"德州", .kind = K::General, .A = 3082, .C = 0.7, .b = 15, .n = 0.79},
    {.city = u"烟台", .kind = K::MillimetrePerMinuteSum, .a = 6.912, .c = 7.373, .b = 9.018, .n = 0.609},
    {.city = u"南京", .kind = K::General, .A = 2989.3, .C = 0.67, .b = 13.3, .n = 0.8},
    {.city = u"徐州", .kind = K::General, .A = 1510.7, .C = 0.514, .b = 9, .n = 0.64},
    {.city = u"连云港", .kind = K::General, .A = 3360.04, .C = 0.82, .b = 35.7, .n = 0.74},
    {.city = u"无锡", .kind = K::General, .A = 10579, .C = 0.828, .b = 46.4, .n = 0.99},
    {.city = u"苏州", .kind = K::General, .A = 2887.43, .C = 0.794, .b = 18.8, .n = 0.81},
    {.city = u"扬州", .kind = K::General, .A = 8248.13, .C = 0.641, .b = 40.3, .n = 0.95},
    {.city = u"合肥", .kind = K::General, .A = 3600, .C = 0.76, .b = 14, .n = 0.84},
    {.city = u"淮南", .kind = K::MillimetrePerMinuteProduct, .A = 12.8, .C = 0.71, .b = 6.29, .n = 0.71},
    {.city = u"安庆", .kind = K::General, .A = 1986.8, .C = 0.777, .b = 8.404, .n = 0.689},
    {.city = u"杭州", .kind = K::General, .A = 3360.04, .C = 0.639, .b = 11.945, .n = 0.825},
    {.city = u"宁波", .kind = K::General, .A = 8413.46, .C = 0.71, .b = 22.51, .n = 0.96},
    {.city = u"温州", .kind = K::General, .A = 2216.758, .C = 0.573, .b = 12.641, .n = 0.663},
    {.city = u"南昌", .kind = K::General, .A = 1386, .C = 0.69, .b = 1.4, .n = 0.64},
    {.city = u"庐山", .kind = K::General, .A = 2121, .C = 0.61, .b = 8, .n = 0.73},
    {.city = u"赣州", .kind = K::General, .A = 3173, .C = 0.56, .b = 10, .n = 0.79},
    {.city = u"福州", .kind = K::General, .A = 2041.102, .C = 0.7, .b = 8.008, .n = 0.691},
    {.city = u"厦门", .kind = K::General, .A = 1085.02, .C = 0.581, .b = 2.954, .n = 0.559},
    {.city = u"郑州", .kind = K::General, .A = 7650, .C = 1.15, .b = 37.3, .n = 0.99, .s = 0.143, .order = O::B},
    {.city = u"洛阳", .kind = K::General, .A = 3336, .C = 0.872, .b = 14.8, .n = 0.884},
    {.city = u"开封", .kind = K::General, .A = 5075, .C = 0.61, .b = 19, .n = 0.92},
    {.city = u"武汉", .kind = K::General, .A = 983, .C = 0.65, .b = 4, .n = 0.56},
    {.city = u"黄石", .kind = K::General, .A = 1871, .C = 0.869, .b = 9.7, .n = 0.746},
    {.city = u"长沙", .kind = K::General, .A = 3920, .C = 0.68, .b = 17, .n = 0.86},
    {.city = u"衡阳", .kind = K::General, .A = 892, .C = 0.67, .b = 0, .n = 0.57},
    {.city = u"广州", .kind = K::General, .A = 2424.17, .C = 0.533, .b = 11, .n = 0.668},
    {.city = u"汕头", .kind = K::General, .A = 1042, .C = 0.56, .b = 0, .n = 0.488},
    {.city = u"深圳", .kind = K::General, .A = 975, .C = 0.745, .b = 0, .n = 0.442},
    {.city = u"海口", .kind = K::General, .A = 2338, .C = 0.4, .b = 9, .n = 0.65},
    {.city = u"南宁", .kind = K::LinearDurationTerm, .A = 10500, .C = 0.707, .k = 21.1, .m = 0.119},
    {.city = u"桂林", .kind = K::General, .A = 4230, .C = 0.402, .b = 13.5, .n = 0.841},
    {.city = u"北海", .kind = K::General, .A = 1625, .C = 0.437, .b = 4, .n = 0.57},
    {.city = u"西安", .kind = K::MillimetrePerMinuteProduct, .A = 6.041, .C = 1.475, .b = 14.72, .n = 0.704},
    {.city = u"延安", .kind = K::MillimetrePerMinuteProduct, .A = 5.582, .C = 1.292, .b = 8.22, .n = 0.7},
    {.city = u"宝鸡", .kind = K::MillimetrePerMinuteProduct, .A = 11.01, .C = 0.94, .b = 12, .n = 0.932},
    {.city = u"银川", .kind = K::General, .A = 242, .C = 0.83, .b = 0, .n = 0.477},
    {.city = u"兰州", .kind = K::General, .A = 1140, .C = 0.96, .b = 8, .n = 0.8},
    {.city = u"西宁", .kind = K::General, .A = 308, .C = 1.39, .b = 0, .n = 0.58},
    {.city = u"乌鲁木齐", .kind = K::General, .A = 195, .C = 0.82, .b = 7.8, .n = 0.63},
    {.city = u"石河子", .kind = K::PowerLaw, .A = 198},
    {.city = u"成都", .kind = K::PowerDurationTerm, .A = 2806, .C = 0.803, .n = 0.768, .k = 12.8, .m = 0.231},
    {.city = u"宜宾", .kind = K::PowerDurationTerm, .A = 1169, .C = 0.828, .n = 0.561, .k = 4.4, .m = 0.428},
    {.city = u"贵阳", .kind = K::PowerDurationTerm, .A = 1887, .C = 0.707, .n = 0.695, .k = 9.35, .m = 0.031},
    {.city = u"昆明", .kind = K::General, .A = 700, .C = 0.775, .b = 0, .n = 0.496},
}};

// mm/min to L/(s·ha): 1 mm/min over one hectare is 10000 L per 60 s.
constexpr double kMillimetrePerMinuteFactor = 1000.0 / 6.0;

// Exponents of the 石河子 power law.
constexpr double kPowerLawNumeratorExponent = 1.318;
constexpr double kPowerLawReturnPeriodExponent = 0.306;
constexpr double kPowerLawDurationExponent = 0.56;

// Common logarithm formed as the quotient of two natural logarithms.
double Lg(double x) { return std::log(x) / std::log(10.0); }

// Real power of a non-negative base (0^y = 0 for y > 0); no value for a
// negative base, where the real power is undefined.
std::optional<double> Power(double base, double exponent)
{
    if (!(base >= 0.0))
        return std::nullopt;
    return std::pow(base, exponent);
}

}  // namespace

// ---------------------------------------------------------------- display side

QStringList StormIntensityCatalogue::Provinces()
{
    QStringList names;
    for (const ProvinceEntry& entry : ProvinceTable())
        names.append(entry.name);
    return names;
}

QStringList StormIntensityCatalogue::CitiesOf(const QString& province)
{
    for (const ProvinceEntry& entry : ProvinceTable()) {
        if (entry.name == province)
            return entry.cities;
    }
    return {};
}

QString StormIntensityCatalogue::PrefixOf(const QString& city)
{
    for (QStringView mmCity : kMillimetrePerMinuteCities) {
        if (mmCity == city)
            return QStringLiteral("i=");
    }
    return QStringLiteral("q=");
}

std::optional<StormFormulaCaption> StormIntensityCatalogue::CaptionOf(const QString& city)
{
    for (const CaptionRow& row : kCaptions) {
        if (row.city == city)
            return StormFormulaCaption{PrefixOf(city), row.numerator.toString(),
                                       row.denominator.toString()};
    }
    return std::nullopt;
}

QStringList StormIntensityCatalogue::CaptionCities()
{
    QStringList cities;
    for (const CaptionRow& row : kCaptions)
        cities.append(row.city.toString());
    return cities;
}

// ---------------------------------------------------------------- numeric side

std::span<const StormIntensityFormula> StormIntensityFormulas() { return kFormulas; }

const StormIntensityFormula* FindStormIntensityFormula(const QString& city)
{
    for (const StormIntensityFormula& row : kFormulas) {
        if (row.city == city)
            return &row;
    }
    return nullptr;
}

std::optional<double> StormIntensity(const StormIntensityFormula& row, double P, double t)
{
    double numerator = 0.0;
    double denominator = 0.0;

    if (row.kind == K::PowerLaw) {
        numerator = std::pow(P, kPowerLawNumeratorExponent) * row.A;
        denominator =
            std::pow(P, kPowerLawReturnPeriodExponent) * std::pow(t, kPowerLawDurationExponent);
    } else {
        // Logarithm term of the return period (P shifted for 承德 and 郑州):
        // each formula is defined where its logarithm is, so 郑州 takes any
        // P above -0.143 and 承德 needs P above 0.121.
        const double x = P + row.s;
        if (!(x > 0.0))
            return std::nullopt;
        const double lgP = Lg(x);
        const double term = row.order == O::B ? (row.C * std::log(x)) / std::log(10.0) : row.C * lgP;

        switch (row.kind) {
        case K::MillimetrePerMinuteSum:
            numerator = ((row.c * lgP) + row.a) * kMillimetrePerMinuteFactor;
            break;
        case K::MillimetrePerMinuteProduct:
            numerator = ((row.C * lgP) + 1.0) * (kMillimetrePerMinuteFactor * row.A);
            break;
        default:
            numerator = (term + 1.0) * row.A;
            break;
        }

        std::optional<double> power;
        switch (row.kind) {
        case K::PowerDurationTerm: {
            const double extra = std::pow(P, row.m) * row.k;
            power = Power(t + extra, row.n);
            break;
        }
        case K::LinearDurationTerm: {
            const double extra = std::pow(P, row.m) * row.k;
            power = t + extra;
            break;
        }
        default:
            power = Power(t + row.b, row.n);
            break;
        }
        if (!power)
            return std::nullopt;
        denominator = *power;
    }

    const double q = numerator / denominator;
    // A zero base of the duration term (t + b = 0, or t = 0 where the row
    // adds nothing to t), a logarithm of 0, a NaN from a negative base, an
    // overflow, or a non-positive intensity (a return period so short that
    // 1 + C·lgP is not positive) is no design intensity.
    if (!std::isfinite(q) || !(q > 0.0))
        return std::nullopt;
    return q;
}

std::optional<double> StormIntensity(const QString& city, double P, double t)
{
    const StormIntensityFormula* row = FindStormIntensityFormula(city);
    if (row == nullptr)
        return std::nullopt;
    return StormIntensity(*row, P, t);
}

}  // namespace catalogues
