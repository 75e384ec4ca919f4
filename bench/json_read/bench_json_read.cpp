// Reads representative service replies with jsonxx (from an input string
// stream, as the result and catalogue readers do) and with nlohmann::json
// (from the string) and prints how long jsonxx takes relative to it.
#include "service/jsonxx/jsonxx.h"

#include <benchmark/benchmark.h>
#include <nlohmann/json.hpp>

#include <cstdio>
#include <map>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

// Keys a run result carries, grouped as the service sends them.
const char* const kFrameKeys[] = {
    "d_c_left", "d_c_right", "H_col", "L_beam", "d_b_up", "d_b_down", "col_left_gap_for_L_brb",
    "col_right_gap_for_L_brb", "beam_up_gap_for_L_brb", "beam_down_gap_for_L_brb",
    "default_thickness_of_slab_for_L_brb", "default_gap_for_gusset_plate"};
const char* const kBraceKeys[] = {
    "down_L_v", "down_L_h", "Gusset_Plate_down_x1", "Gusset_Plate_down_y1", "Gusset_Plate_down_x2",
    "Gusset_Plate_down_y2", "up_L_v", "up_L_h", "Gusset_Plate_up_x1", "Gusset_Plate_up_y1", "Gusset_Plate_up_x2",
    "Gusset_Plate_up_y2", "t_sf", "Le_upper", "Le_lower", "tan_phi", "L_wp", "L_brb", "L_c", "L_t", "L_x", "L_n",
    "L_w", "L_j", "Shrink_Ratio_DOWN", "Shrink_Ratio_UP", "P_y", "A_c", "A_j", "A_t", "B_c", "B_j", "D_c", "D_j",
    "t_c", "t_j", "t_g", "t_g_s", "P_max", "K_eff", "Q_factor", "Alpha_L", "Theda_y", "K_eff_h", "I_sc_required",
    "I_sc_designed", "down_L_sf_h", "down_L_sf_v", "down_T_b", "down_T_c", "up_L_sf_h", "up_L_sf_v", "up_T_b",
    "up_T_c", "L_s", "T_w", "t", "D_t", "L_sc", "D_t_required", "U_Beam_Ratio", "L_Beam_Ratio"};
const char* const kPointPrefixes[] = {"Be_up_", "Be_dw_"};
const char* const kLinePrefixes[] = {"L_1_down_", "L_2_down_", "L_3_down_", "L_1_up_", "L_2_up_", "L_3_up_"};
const char* const kWeightKeys[] = {
    "Core_Self_Volume", "Core_Self_Weight", "Casing_Self_Volume", "Casing_Self_Weight", "Motar_Self_Volume",
    "Motar_Self_Weight", "Gusset_UP_Area", "Gusset_UP_Volume", "Gusset_UP_Weight", "Gusset_DOWN_Area",
    "Gusset_DOWN_Volume", "Gusset_DOWN_Weight", "Total_Weight"};

std::vector<std::string> welded_checks(bool chevron) {
    std::vector<std::string> s = {"1", "2", "3_up", "3_down", "4", "5_up", "5_down", "6_up", "6_down"};
    for (const char* end : chevron ? std::vector<const char*>{"down"} : std::vector<const char*>{"up", "down"})
        for (int c = 1; c <= 6; ++c) s.push_back(std::string("7_") + end + "_c" + std::to_string(c));
    return s;
}

std::vector<std::string> bolted_checks() {
    std::vector<std::string> s = {"1", "2", "3", "4", "5", "6_up", "6_down", "7", "8", "9",
                                  "10_up", "10_down", "11_up", "11_down"};
    for (const char* end : {"up", "down"})
        for (int c = 1; c <= 6; ++c) s.push_back(std::string("12_") + end + "_c" + std::to_string(c));
    return s;
}

class Writer {
public:
    explicit Writer(unsigned seed) : random_(seed) {}
    void number(const std::string& key) {
        std::uniform_real_distribution<double> d(-50, 9000);
        char buf[48];
        std::snprintf(buf, sizeof buf, "%.10g", d(random_));
        member(key, buf);
    }
    void text(const std::string& key, const std::string& value) { member(key, "\"" + value + "\""); }
    void raw(const std::string& key, const std::string& value) { member(key, value); }
    std::string done() { return out_ + "}"; }

private:
    void member(const std::string& key, const std::string& value) {
        out_ += (out_.size() > 1 ? ",\"" : "\"") + key + "\":" + value;
    }
    std::mt19937 random_;
    std::string out_ = "{";
};

void brace_numbers(Writer& w, bool chevron) {
    for (const char* k : kFrameKeys) w.number(k);
    for (const char* k : kBraceKeys) w.number(k);
    for (const char* p : kPointPrefixes)
        for (int i = 1; i <= 6; ++i) {
            w.number(std::string(p) + "x" + std::to_string(i));
            w.number(std::string(p) + "y" + std::to_string(i));
        }
    for (const char* p : kLinePrefixes)
        for (const char* c : {"x0", "y0", "x1", "y1"}) w.number(std::string(p) + c);
    for (const std::string& s : welded_checks(chevron))
        for (const char* f : {"DCR_", "Demand_", "Capacity_"}) w.number(f + s);
}

void report_texts(Writer& w) {
    w.text("SAVE_ZORV_FILE_PATH", "ZORV_OUTPUT\\\\C20240611093015\\\\ZORV_Report.txt");
    w.text("SAVE_ZORV_XLS_PATH", "ZORV_OUTPUT\\\\C20240611093015\\\\ZORV_Report.xlsx");
    w.text("SAVE_ZORV_DXF_PATH", "ZORV_OUTPUT\\\\C20240611093015\\\\ZORV_Drawing.dxf");
    w.text("WES_Type", "Cruciform");
    w.text("STEEL_CASING_Type", "Square");
}

// A Diagonal result of about 300 numbers.
std::string diagonal_result() {
    Writer w(1);
    report_texts(w);
    brace_numbers(w, false);
    for (const std::string& s : bolted_checks())
        for (const char* f : {"DCR_", "Demand_", "Capacity_"}) w.number(f + s);
    for (const char* k : kWeightKeys) w.number(k);
    w.text("Steel_Casing_Size", "150x150x6.0");
    w.text("Steel_Casing_Source", "JIS G3466 STKR400");
    return w.done();
}

// A Chevron result: a side object per brace, the bay's keys at the top.
std::string chevron_result() {
    Writer w(2);
    report_texts(w);
    for (const char* side : {"LEFT", "RIGHT"}) {
        Writer s(side[0]);
        brace_numbers(s, true);
        s.text("WES_Type", "Cruciform");
        s.text("Steel_Casing_Size", "165.2x5.0");
        s.text("Steel_Casing_Source", "JIS G3444 STK400");
        s.text("STEEL_CASING_Type", "Circular");
        w.raw(side, s.done());
    }
    for (const char* k : {"x1", "y1", "x2", "y2", "x3", "y3", "x4", "y4"}) w.number(std::string("MIDDLE_GUSSET_") + k);
    for (const char* k : {"Lh_mid", "Lv_mid", "Lsf_mid", "Tb_mid", "DCR_1", "P_y", "K_eff"}) w.number(k);
    for (const char* k : {"7_mg_c1", "7_mg_c2", "7_mg_c3"})
        for (const char* f : {"DCR_", "Demand_", "Capacity_"}) w.number(std::string(f) + k);
    return w.done();
}

// A class catalogue reply of 80 entries.
std::string class_catalogue() {
    Writer w(3);
    for (int i = 1; i <= 80; ++i) {
        Writer e(100 + i);
        const int tc = 12 + 2 * (i % 8);
        e.text("Class", "CROSS" + std::to_string(40 + 10 * i) + "tonf(tc=" + std::to_string(tc) + "mm)");
        e.raw("tc", std::to_string(tc));
        e.raw("Bc", std::to_string(80 + 5 * i));
        w.raw(std::to_string(i), e.done());
    }
    return w.done();
}

const std::map<std::string, std::string>& replies() {
    static const std::map<std::string, std::string> texts = {
        {"DiagonalResult", diagonal_result()},
        {"ChevronResult", chevron_result()},
        {"ClassCatalogue", class_catalogue()},
    };
    return texts;
}

void BM_jsonxx(benchmark::State& state, const std::string& text) {
    for (auto _ : state) {
        std::istringstream in(text);
        jsonxx::Object o;
        if (!jsonxx::Object::parse(in, o)) state.SkipWithError("jsonxx failed");
        benchmark::DoNotOptimize(o);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}

void BM_nlohmann(benchmark::State& state, const std::string& text) {
    for (auto _ : state) {
        nlohmann::json j = nlohmann::json::parse(text);
        benchmark::DoNotOptimize(j);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}

// Keeps the time of every benchmark (the median when repeated) and prints
// jsonxx / nlohmann per reply.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.error_occurred) continue;
            if (run.run_type == Run::RT_Iteration && !medians_.count(run.run_name.str()))
                times_[run.run_name.str()] = run.GetAdjustedRealTime();
            if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median") {
                times_[run.run_name.str()] = run.GetAdjustedRealTime();
                medians_.insert(run.run_name.str());
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }
    void print_ratios() const {
        for (const auto& [reply, text] : replies()) {
            const auto mine = times_.find("jsonxx/" + reply);
            const auto peer = times_.find("nlohmann/" + reply);
            if (mine == times_.end() || peer == times_.end()) continue;
            const double ratio = mine->second / peer->second;
            std::printf("ratio jsonxx/nlohmann %-15s %5.2f (%zu bytes)%s\n", reply.c_str(), ratio, text.size(),
                        ratio > 1.0 ? "  SLOWER" : "");
        }
    }

private:
    std::map<std::string, double> times_;
    std::set<std::string> medians_;
};

}  // namespace

int main(int argc, char** argv) {
    for (const auto& [name, text] : replies()) {
        // Both readers must see the same reply before their times mean anything.
        std::istringstream in(text);
        jsonxx::Object o;
        if (!jsonxx::Object::parse(in, o) || o.size() != nlohmann::json::parse(text).size()) {
            std::fprintf(stderr, "%s: the readers disagree on the reply\n", name.c_str());
            return 1;
        }
        benchmark::RegisterBenchmark(("jsonxx/" + name).c_str(), BM_jsonxx, text);
        benchmark::RegisterBenchmark(("nlohmann/" + name).c_str(), BM_nlohmann, text);
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    reporter.print_ratios();
    return 0;
}
