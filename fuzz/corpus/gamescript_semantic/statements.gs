class S {
  int f(int x, string s) {
    int i, j = 1;
    for (i = 0; i < x; i++) { if (i % 2 == 0) continue; else j = j << 1 | 3; }
    while (j > 0 and !(s.size() == 0)) j--;
    switch (x) { case 1 + 2: j = 'a'; break; default: j = (int) 1.5f; }
    l: s = s + j + .5 + 1. + "x\n"; goto l;
    s.copy("y"); o.isclass(S); x = -~+x; s = s[,2] + s[1,] + s[1,2];
    return j;
  }
};
