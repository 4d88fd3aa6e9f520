#!/usr/bin/env python3
"""Generates a large valid GameScript program and a C file of the same shape and size.

Usage: gen_gamescript.py LINES OUT.gs [OUT.c]
Each class is one block of members and functions with loops, branches, switches, calls and
string building; the C file mirrors it with structs and functions (for gcc -fsyntax-only).
"""
import sys


def gs_class(i):
    base = f" isclass Cls{i - 1}" if i % 4 else ""
    return f"""class Cls{i}{base} {{
  public int count{i};
  public string label{i};
  float ratio{i};
  public define int LIMIT{i} = {i % 97 + 3};
  int Calc{i}(int a, int b) {{
    int r = 0;
    int k;
    for (k = 0; k < a; k++) {{
      if (k % 3 == 0) r = r + k * b;
      else r = r - (k << 1);
    }}
    while (r > 100) r = r / 2;
    switch (a) {{
      case 1: r = r + 1; break;
      case 2: r = r + LIMIT{i}; break;
      default: r = 0;
    }}
    label{i} = "value " + r;
    return r;
  }}
  float Mix{i}(float x, int n) {{
    float acc = 0.5;
    int j;
    for (j = 0; j < n; j++) acc = acc * x + (float) j;
    if (acc > 1000.0 and n != 0) acc = acc / n;
    ratio{i} = acc;
    return acc;
  }}
  string Describe{i}(string prefix) {{
    string s = prefix;
    int[] vals = new int[4];
    vals[0] = count{i};
    vals[1] = Calc{i}(count{i}, 2);
    s = s + ": " + vals[0] + "/" + vals[1];
    if (s.size() > 40) s = s[0, 40];
    return s;
  }}
  void Update{i}(int delta) {{
    count{i} = count{i} + delta;
    if (count{i} < 0) count{i} = 0;
    ratio{i} = Mix{i}(ratio{i}, count{i} % 5);
    label{i} = Describe{i}("cls{i}");
  }}
}};
"""


def c_class(i):
    return f"""struct Cls{i} {{
  int count;
  const char* label;
  float ratio;
  int limit;
}};
int Calc{i}(struct Cls{i}* me, int a, int b) {{
  int r = 0;
  int k;
  for (k = 0; k < a; k++) {{
    if (k % 3 == 0) r = r + k * b;
    else r = r - (k << 1);
  }}
  while (r > 100) r = r / 2;
  switch (a) {{
    case 1: r = r + 1; break;
    case 2: r = r + me->limit; break;
    default: r = 0;
  }}
  me->label = concat("value ", r);
  return r;
}}
float Mix{i}(struct Cls{i}* me, float x, int n) {{
  float acc = 0.5;
  int j;
  for (j = 0; j < n; j++) acc = acc * x + (float) j;
  if (acc > 1000.0 && n != 0) acc = acc / n;
  me->ratio = acc;
  return acc;
}}
const char* Describe{i}(struct Cls{i}* me, const char* prefix) {{
  const char* s = prefix;
  int vals[4];
  vals[0] = me->count;
  vals[1] = Calc{i}(me, me->count, 2);
  s = concat(concat(s, ": "), vals[0] + vals[1]);
  if (length(s) > 40) s = slice(s, 0, 40);
  return s;
}}
void Update{i}(struct Cls{i}* me, int delta) {{
  me->count = me->count + delta;
  if (me->count < 0) me->count = 0;
  me->ratio = Mix{i}(me, me->ratio, me->count % 5);
  me->label = Describe{i}(me, "cls{i}");
}}
"""


def main():
    lines = int(sys.argv[1])
    out_gs = sys.argv[2]
    out_c = sys.argv[3] if len(sys.argv) > 3 else None
    per_class = gs_class(1).count("\n")
    classes = max(1, lines // per_class)
    with open(out_gs, "w") as f:
        for i in range(classes):
            f.write(gs_class(i))
    if out_c:
        with open(out_c, "w") as f:
            f.write("const char* concat(const char* a, ...);\n"
                    "int length(const char* s);\n"
                    "const char* slice(const char* s, int a, int b);\n")
            for i in range(classes):
                f.write(c_class(i))


if __name__ == "__main__":
    main()
