#include "output/train_graph_svg.h"

#include <charconv>
#include <cstdio>

#include "data/gbk_codec.h"

namespace vormek {

namespace {

// Coordinates to a hundredth of a pixel: far finer than a minute or a
// kilometre at any size the graph is drawn, and short to write.
void Number(std::string& out, double v) {
  char buf[32];
  const int n = std::snprintf(buf, sizeof buf, "%.2f", v);
  std::string_view text(buf, static_cast<std::size_t>(n));
  if (text.find('.') != std::string_view::npos) {
    while (text.back() == '0') text.remove_suffix(1);
    if (text.back() == '.') text.remove_suffix(1);
  }
  if (text == "-0") text = "0";
  out += text;
}

void Scale(std::string& out, const char* name, double v) {
  char buf[40];
  const int n = std::snprintf(buf, sizeof buf, " %s=\"%.10g\"", name, v);
  out.append(buf, static_cast<std::size_t>(n));
}

void Escaped(std::string& out, std::string_view gbk) {
  for (char ch : GbkToUtf8(gbk)) {
    switch (ch) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      default: out += ch;
    }
  }
}

void Colour(std::string& out, TGraphColour c) {
  char buf[8];
  std::snprintf(buf, sizeof buf, "#%02x%02x%02x", c.R, c.G, c.B);
  out += buf;
}

void Stroke(std::string& out, const TGraphPath& p) {
  out += " fill=\"none\" stroke=\"";
  Colour(out, p.Colour);
  out += "\" stroke-width=\"";
  Number(out, p.Width);
  out += '"';
  const std::vector<double> pattern = GraphDashPattern(p.Style);
  if (pattern.empty()) return;
  out += " stroke-dasharray=\"";
  for (std::size_t k = 0; k < pattern.size(); ++k) {
    if (k > 0) out += ' ';
    Number(out, pattern[k] * p.Width);
  }
  out += '"';
}

void Path(std::string& out, const TGraphPath& p) {
  if (p.Role == TGraphPathRole::Wrap && p.Points.size() == 2) {
    out += "<line class=\"wrap\" x1=\"";
    Number(out, p.Points[0].X);
    out += "\" y1=\"";
    Number(out, p.Points[0].Y);
    out += "\" x2=\"";
    Number(out, p.Points[1].X);
    out += "\" y2=\"";
    Number(out, p.Points[1].Y);
    out += '"';
  } else {
    out += p.Role == TGraphPathRole::Train ? "<polyline class=\"run\" points=\"" : "<polyline points=\"";
    for (std::size_t i = 0; i < p.Points.size(); ++i) {
      if (i > 0) out += ' ';
      Number(out, p.Points[i].X);
      out += ',';
      Number(out, p.Points[i].Y);
    }
    out += '"';
  }
  Stroke(out, p);
  out += "/>\n";
}

void Text(std::string& out, const TGraphText& t) {
  out += "<text x=\"";
  Number(out, t.X);
  out += "\" y=\"";
  Number(out, t.Y);
  out += "\" font-size=\"";
  Number(out, t.Size);
  out += "\" fill=\"";
  Colour(out, t.Colour);
  out += '"';
  if (t.Anchor == TGraphAnchor::Middle) out += " text-anchor=\"middle\"";
  if (t.Anchor == TGraphAnchor::End) out += " text-anchor=\"end\"";
  out += '>';
  Escaped(out, t.Text);
  out += "</text>\n";
}

void Mark(std::string& out, const TGraphMark& m) {
  const double h = m.Size / 2;
  out += "<path class=\"leaves\" d=\"M";
  Number(out, m.X - h);
  out += ' ';
  Number(out, m.Y - h);
  out += 'L';
  Number(out, m.X + h);
  out += ' ';
  Number(out, m.Y + h);
  out += 'M';
  Number(out, m.X - h);
  out += ' ';
  Number(out, m.Y + h);
  out += 'L';
  Number(out, m.X + h);
  out += ' ';
  Number(out, m.Y - h);
  out += "\" stroke=\"";
  Colour(out, m.Colour);
  out += "\" stroke-width=\"1.5\"/>\n";
}

int TrainOf(const TGraphOp& op) {
  return std::visit([](const auto& o) { return o.Train; }, op);
}

// "K599 北京西 21:05 - 上海 09:10"
void TrainTitle(std::string& out, const TGraphTrainShape& t) {
  out += "<title>";
  Escaped(out, t.ID);
  if (!t.Stops.empty()) {
    out += ' ';
    Escaped(out, t.Stops.front().Station);
    out += ' ' + GraphClockText(t.Stops.front().Depart) + " - ";
    Escaped(out, t.Stops.back().Station);
    out += ' ' + GraphClockText(t.Stops.back().Arrive);
  }
  out += "</title>\n";
}

}  // namespace

std::string TrainGraphSvg(const TTrainGraph& g) {
  std::string out = R"(<?xml version="1.0" encoding="UTF-8"?>)"
                    "\n<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"";
  Number(out, g.Width);
  out += "\" height=\"";
  Number(out, g.Height);
  out += "\" viewBox=\"0 0 ";
  Number(out, g.Width);
  out += ' ';
  Number(out, g.Height);
  out += '"';
  Scale(out, "data-x0", g.X0);
  Scale(out, "data-px-per-min", g.PxPerMin);
  Scale(out, "data-y0", g.Y0);
  Scale(out, "data-px-per-km", g.PxPerKm);
  out += g.Span == TGraphSpan::Day ? " data-span=\"day\"" : " data-span=\"trains\"";
  out +=
      ">\n<style>text{font-family:\"AR PL UMing CN\",\"Noto Serif CJK SC\",\"SimSun\",serif}</style>\n"
      "<rect width=\"100%\" height=\"100%\" fill=\"#ffffff\"/>\n";
  int open = -1;
  for (const TGraphOp& op : g.Ops) {
    const int train = TrainOf(op);
    if (train != open) {
      if (open >= 0) out += "</g>\n";
      open = train;
      if (train >= 0 && static_cast<std::size_t>(train) < g.Trains.size()) {
        const TGraphTrainShape& t = g.Trains[static_cast<std::size_t>(train)];
        out += "<g class=\"train\" data-train=\"";
        Escaped(out, t.ID);
        out += "\" data-row=\"" + std::to_string(t.Row) + "\">\n";
        TrainTitle(out, t);
      } else {
        open = -1;
      }
    }
    std::visit(
        [&](const auto& o) {
          using T = std::decay_t<decltype(o)>;
          if constexpr (std::is_same_v<T, TGraphPath>) Path(out, o);
          if constexpr (std::is_same_v<T, TGraphText>) Text(out, o);
          if constexpr (std::is_same_v<T, TGraphMark>) Mark(out, o);
        },
        op);
  }
  if (open >= 0) out += "</g>\n";
  out += "</svg>\n";
  return out;
}

}  // namespace vormek
