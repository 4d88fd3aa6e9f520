include "base.gs"
static final class Util isclass Base, Other {
  public define int LIMIT = 0x7F;
  public string name = "a\tb";
  native int Native(int a, float b);
  thread void Run(void) { wait() { on "Msg", "Go", m: { break; } on "A", "B": ; } }
  Foo[] Make(int n) { Foo[] r = new Foo[n]; r[0] = cast<Foo> me; return r[1,]; }
};
class Other { };
