// Text of the -d language manual: the language, the compiler switches and a worked example.
#include "gamescript/gs_manual.h"

namespace GSCompiler {

namespace {

const char kManual[] = R"MANUAL(BELMO GameScript Language Reference (compiler version 1.02)

1.0 Introduction
================
GameScript is a small, statically typed, class-based scripting language in the C family.
Scripts describe game objects: classes with member variables and functions, some of which
run as threads that wait for messages. A source file (.gs) is compiled into a script
library (.gsl) that the game loads; a scrambled source (.gse) compiles the same way.

2.0 The language
================

2.1 Comments
------------
  // runs to the end of the line
  /* runs to the next */ and does not nest: /* a /* b */ ends at the first */

2.2 Keywords
------------
Keywords are lower case; "While" is an ordinary identifier.
  break     leave the innermost loop, switch or wait      break;
  case      a switch label with a constant integer       case 3: n = 1;
  continue  start the next round of a loop               continue;
  default   the switch label taken when no case matches  default: n = 0;
  else      the alternative branch of an if              if (a) f(); else g();
  for       loop with start, test and step               for (i = 0; i < 9; i++) f(i);
  goto      jump to a label in the same function         goto done;
  if        conditional statement                        if (n > 2) n = 2;
  null      the empty reference                          obj = null;
  return    leave a function, with a value if it has one return n * 2;
  switch    multi-way branch on an int                   switch (n) { case 1: ... default: ... }
  while     loop while a condition holds                 while (n) n--;
  and, or   logical operators (there is no && or ||)     if (a and b or c) f();
  true, false  the two bool constants                    done = true;
  void, bool, int, float, string, object  type names     int count;
  class     declares a class                             class Loco { };
  include   makes the classes of another file known      include "vehicle.gs"
  define    a named constant member                      define int MAX = 10;
  static    a class with one shared instance             static class Tools { };
  public    a member or function other classes may use   public int speed;
  native    a function implemented by the game           native void Horn(void);
  final     a class that cannot be extended, or a function that cannot be overridden
  thread    a function that runs on its own (makes its class a game class)
  game      a class whose objects the game creates       game class Crane { };
  size      length of a string or array                  n = list.size();
  isclass   base-class list, or a class test             if (o.isclass(Loco)) ...
  copy      copy of a string or array into another       a.copy(b);
  me        the current object                           me.Stop();
  new       creates a string, array or object            a = new int[10];
  cast      converts an object to another class          l = cast<Loco> o;
  wait, on  block until a message arrives, and its handlers (see 9.0)

2.3 Identifiers
---------------
A letter or underscore followed by letters, digits or underscores. Upper and lower case
differ. "inherited" and "constructor" are ordinary identifiers; inherited() calls the
overridden version of the current function.

2.4 Constants
-------------
  123, 007        decimal integers (leading zeros do not make octal)
  0x1F            hexadecimal; values above 0x7FFFFFFF become 0x7FFFFFFF
  'a'             a character: the value of its first byte
  1.5  .5  1.  2.5f   floats (no exponent part: 1e5 is 1 followed by e5)
  "text\n"        strings; escapes \n \t \v \r \f \b \a \\ \' \" and \0 (ends the text);
                  any other escaped character stands for itself
  true, false     bool constants

2.5 Types
---------
  void (functions only), bool, int, float, string, object (a reference to an object;
  "Loco" as a type means an object of class Loco). Every type but void has an array form
  written with []: int[], string[], Loco[]. null can be assigned to strings, objects and
  arrays. bool, int and float convert to each other; they convert to string when added to
  a string.

2.6 Operators
-------------
From tightest to loosest binding; binary operators group left to right except =.
  postfix   a[i]  a[lo, hi]  f(x)  a.b  a++  a--  a.size()  a.isclass(C)  a.copy(b)
  unary     ++a  --a  +a  -a  ~a  !a  (int)a  (int[])a  cast<C> a
  multiply  *  /  %
  add       +  -
  shift     <<  >>
  relation  <  >  <=  >=
  equality  ==  !=
  bit and   &
  bit xor   ^
  bit or    |
  and       and
  or        or
  assign    =  (groups right to left)
  comma     ,

2.7 Class declaration
---------------------
  [specifiers] class Name [isclass Base1, Base2] { declarations };
The closing semicolon is required. Specifiers allowed on classes: static, final, game.
A class may extend several classes, but not a static or final one, and never itself.
Members are variables and functions; member variables may be public or define.

2.8 Function declaration
------------------------
  [specifiers] type Name(parameters) { statements }
  [specifiers] type Name(parameters);            a prototype, defined later
Parameters are "type name" pairs separated by commas, or void. Functions with the same
name may differ in their parameter types. A function overriding a base function keeps
its return type. A non-void function must end in a return.

2.9 Control flow statements
---------------------------
  if (e) s [else s]      while (e) s      for (init; test; step) s
  switch (n) { case 1: ... default: ... }   (needs at least one case and a default)
  break;  continue;  goto label;  label: s  return [e];
  wait() { on "Major", "Minor": s  on "Major", "Minor", msg: s }

2.10 Grammar
------------
  program      : include_list class_list | class_list
  include      : include "file"
  class        : [specifiers] class id [isclass id {, id}] { [declarations] } ;
  declaration  : [specifiers] (function | prototype | variables)
  function     : type id ( [void | parameters] ) compound
  prototype    : type id ( [void | parameters] ) ;
  variables    : type declarator {, declarator} ;
  declarator   : id [= constant_expression]
  type         : primitive [[]] | id [[]]
  compound     : { [statements] }
  statement    : variables | labeled | compound | expression_stmt | selection
               | iteration | jump
  labeled      : id : statement | case constant : statement | default : statement
               | on constant , constant [, unary] : statement
  selection    : if ( expr ) statement [else statement]
               | switch ( expr ) compound | wait ( ) compound
  iteration    : while ( expr ) statement
               | for ( expression_stmt expression_stmt [expr] ) statement
  jump         : goto id ; | continue ; | break ; | return [expr] ;
  expr         : assignment {, assignment}
  assignment   : logical_or | unary = assignment
  binary levels: or, and, |, ^, &, (== !=), (< > <= >=), (<< >>), (+ -), (* / %)
  cast         : unary | ( primitive [[]] ) cast | cast < type > cast
  unary        : postfix | ++ unary | -- unary | (+ - ~ !) cast
  postfix      : primary and the postfix forms of 2.6
  primary      : id | me | null | constant | new_expr | ( expr )
  new_expr     : new primitive ( [args] ) | new primitive [ expr ]
               | new id ( [args] ) | new id [ expr ]

3.0 The compiler
================

3.0 The basics
--------------
The compiler reads one source file and the files it includes, and writes one library
beside the source (or into the -p folder). Each library carries a 64-bit identity: the
CRC-32 of its source text and the CRC-32 of its lower-cased file name. The library also
lists the identities of the libraries it depends on, so the game can tell when one is
out of date. The compiler returns the number of errors it found (0 = library written).

3.1 Compiler switches
---------------------
  -s            silent: do not echo the compile log
  -bfile        append the compile log to file
  -ppath/       write the library into this folder (the part after the last / is dropped)
  -ipath        search this folder for included files too
  -d            print this document and stop
  -ofile        accepted, no effect
  file          the source to compile (the last one given wins)

4.0 The library file
====================
Omitted for public release.

5.0 The byte code
=================
Omitted for public release.

6.0 The runtime environment
===========================
Omitted for public release.

6.1 Runtime stack
-----------------
Omitted for public release.

7.0 The Compiler source files
=============================
Omitted for public release.

8.0 The runtime source files
============================
Omitted for public release.

9.0 Using BELMO GameScript
==========================
Compared with other C-like languages: there are no pointers, no structs, no headers and no
preprocessor; "and" and "or" replace && and ||; strings and arrays are references managed
by the runtime; objects are created with new and never freed by hand; every function
belongs to a class.

The game-object model: a game class describes objects that live in the game world. Its
thread functions run side by side with the game and with each other; a thread usually
loops on wait(), which suspends it until a message arrives. A message has a major and a
minor type (two strings) and a source object; the on-handler whose types match runs.

Example: two game classes exchanging messages.

  game class Signal
  {
    native void PostMessage(object to, string major, string minor, float delay);
    thread void Watch(void)
    {
      wait()
      {
        on "Train", "Approaching", msg:
        {
          // tell the sender it may pass
          PostMessage(msg, "Signal", "Clear", 0.0);
          continue;
        }
        on "Signal", "Shutdown":
          break;
      }
    }
  };

  game class Train
  {
    native void PostMessage(object to, string major, string minor, float delay);
    public object signal;
    thread void Run(void)
    {
      PostMessage(signal, "Train", "Approaching", 0.0);
      wait()
      {
        on "Signal", "Clear":
          break;
      }
    }
  };
)MANUAL";

}  // namespace

const char* LanguageManual() { return kManual; }

}  // namespace GSCompiler
