// S-expression printer for syntax trees (developer aid, used by the tests).
#include "gamescript/gs_tree_printer.h"

#include <cstdio>

namespace GSCompiler {

namespace {

class Printer {
 public:
  Printer(const GSTreePrintOptions& options) : options_(options) {}

  void List(const GSNode* first) {
    bool space = false;
    for (const GSNode* n = first; n; n = n->next) {
      if (space) out_ += ' ';
      Node(n);
      space = true;
    }
  }

  // A child that is a list position is printed as (items...); others print the node, or a
  // whole chain as {a b} when the node carries a next link.
  void Child(const GSNode* n) {
    if (!n) {
      out_ += '_';
    } else if (n->next) {
      out_ += '{';
      List(n);
      out_ += '}';
    } else {
      Node(n);
    }
  }

  void Group(const char* head, const GSNode* first) {
    out_ += '(';
    out_ += head;
    if (first) out_ += ' ';
    List(first);
    out_ += ')';
  }

  std::string Take() { return std::move(out_); }

 private:
  void Flags(const GSNode* n) {
    static const char* const kSpecs[] = {"public", "native", "static", "final", "thread", "constructor", "game", "define"};
    for (int bit = 0; bit < 8; ++bit)
      if (n->flags & (1u << bit)) (out_ += ':') += kSpecs[bit];
    if (n->flags & GS_FLAG_MEMBER_VARIABLE) out_ += ":member";
    if (n->flags & GS_FLAG_DISCARDED) out_ += ":d";
    if (n->flags & GS_FLAG_IMPLICIT_CAST) out_ += ":implicit";
  }

  void Suffix(const GSNode* n) {
    if (options_.lines) out_ += "@" + std::to_string(n->line);
    if (options_.types && n->category == GS_CAT_EXPRESSION && n->resultType != GS_TYPE_NONE) {
      out_ += '#';
      out_ += n->className ? n->className : GSTypeName(n->resultType);
    }
  }

  void Open(const char* head, const GSNode* n) {
    out_ += '(';
    out_ += head;
    Flags(n);
    Suffix(n);
  }

  void Children(const GSNode* n, int count) {
    int last = -1;
    for (int i = 0; i < count; ++i)
      if (n->child[i]) last = i;
    for (int i = 0; i <= last; ++i) {
      out_ += ' ';
      Child(n->child[i]);
    }
    out_ += ')';
  }

  void Atom(const std::string& text, const GSNode* n) {
    out_ += text;
    Flags(n);
    Suffix(n);
  }

  void Constant(const GSNode* n) {
    char buffer[64];
    switch (n->subkind) {
      case GS_CONST_BOOL: Atom(n->value.i ? "true" : "false", n); break;
      case GS_CONST_INT: Atom(std::to_string(n->value.i), n); break;
      case GS_CONST_FLOAT:
        std::snprintf(buffer, sizeof buffer, "%gf", static_cast<double>(n->value.f));
        Atom(buffer, n);
        break;
      default: {
        std::string text = "\"";
        for (const char* p = n->value.text ? n->value.text : ""; *p; ++p) {
          if (*p == '\n') text += "\\n";
          else if (*p == '"' || *p == '\\') (text += '\\') += *p;
          else text += *p;
        }
        Atom(text + "\"", n);
      }
    }
  }

  std::string TypeText(const GSNode* n) {
    int32_t code = n->subkind;
    if (n->child[0] && (code == GS_TYPE_OBJECT || code == GS_TYPE_OBJECT_ARRAY)) {
      std::string name = n->child[0]->value.text ? n->child[0]->value.text : "";
      return code == GS_TYPE_OBJECT_ARRAY ? name + "[]" : name;
    }
    return GSTypeName(code);
  }

  void Declaration(const GSNode* n) {
    switch (n->kind) {
      case GS_DECL_FUNCTION:
      case GS_DECL_PROTOTYPE:
        Open(n->kind == GS_DECL_FUNCTION ? "func" : "proto", n);
        out_ += ' ';
        Child(n->child[0]);
        out_ += ' ';
        Child(n->child[1]);
        out_ += ' ';
        Group("params", n->child[2]);
        if (n->child[3]) {
          out_ += ' ';
          Node(n->child[3]);
        }
        out_ += ')';
        return;
      case GS_DECL_INCLUDE: Open("include", n); Children(n, 1); return;
      case GS_DECL_CLASS:
        Open("class", n);
        out_ += ' ';
        Child(n->child[0]);
        if (n->child[1]) {
          out_ += ' ';
          Group("bases", n->child[1]);
        }
        for (const GSNode* m = n->child[2]; m; m = m->next) {
          out_ += ' ';
          Node(m);
        }
        out_ += ')';
        return;
      case GS_DECL_VARIABLES:
        Open("vars", n);
        out_ += ' ';
        Child(n->child[0]);
        for (const GSNode* d = n->child[1]; d; d = d->next) {
          out_ += ' ';
          Node(d);
        }
        out_ += ')';
        return;
      case GS_DECL_DECLARATOR:
        if (!n->child[1]) return Child(n->child[0]);
        Open("=", n);
        Children(n, 2);
        return;
      case GS_DECL_TYPE: Atom(TypeText(n), n); return;
      case GS_DECL_PARAMETER: Open("param", n); Children(n, 2); return;
      case GS_DECL_NAME: Atom(n->value.text ? n->value.text : "", n); return;
      default: Atom("?decl" + std::to_string(n->kind), n); return;
    }
  }

  void Statement(const GSNode* n) {
    static const char* const kNames[] = {"return", "break", "continue", "goto", "for", "while", "switch",
                                         "if", "default", "case", "label", "block", "wait", "on"};
    if (n->kind < 0 || n->kind > GS_STMT_ON) return Atom("?stmt" + std::to_string(n->kind), n);
    if (n->kind == GS_STMT_COMPOUND) {
      Open("block", n);
      for (const GSNode* s = n->child[0]; s; s = s->next) {
        out_ += ' ';
        Node(s);
      }
      out_ += ')';
      return;
    }
    if (n->kind == GS_STMT_BREAK || n->kind == GS_STMT_CONTINUE || n->kind == GS_STMT_DEFAULT ||
        (n->kind == GS_STMT_RETURN && !n->child[0])) {
      out_ += '(';
      Atom(kNames[n->kind], n);
      out_ += ')';
      return;
    }
    Open(kNames[n->kind], n);
    Children(n, 4);
  }

  void Expression(const GSNode* n) {
    switch (n->kind) {
      case GS_EXPR_OPERATOR: {
        std::string head = GSOperatorName(n->subkind);
        if (n->subkind == GS_OP_POST_DEC || n->subkind == GS_OP_POST_INC) head = "post" + head;
        if (n->subkind == GS_OP_PLUS || n->subkind == GS_OP_NEGATE) head = "u" + head;
        Open(head.c_str(), n);
        Children(n, 3);
        return;
      }
      case GS_EXPR_CONSTANT: Constant(n); return;
      case GS_EXPR_IDENTIFIER: Atom(n->value.text ? n->value.text : "", n); return;
      case GS_EXPR_CALL:
        Open("call", n);
        out_ += ' ';
        Child(n->child[0]);
        for (const GSNode* a = n->child[1]; a; a = a->next) {
          out_ += ' ';
          Node(a);
        }
        out_ += ')';
        return;
      case GS_EXPR_MEMBER: Atom(n->value.text ? n->value.text : "", n); return;
      case GS_EXPR_ME: Atom("me", n); return;
      case GS_EXPR_NULL: Atom("null", n); return;
      default: Atom("?expr" + std::to_string(n->kind), n); return;
    }
  }

 public:
  void Node(const GSNode* n) {
    // Deep trees are printed only to a bounded depth.
    if (++depth_ > 1000) {
      out_ += "...";
    } else if (n->category == GS_CAT_DECLARATION) {
      Declaration(n);
    } else if (n->category == GS_CAT_STATEMENT) {
      Statement(n);
    } else {
      Expression(n);
    }
    --depth_;
  }

 private:
  const GSTreePrintOptions& options_;
  std::string out_;
  int depth_ = 0;
};

}  // namespace

std::string GSPrintTree(const GSNode* first, const GSTreePrintOptions& options) {
  Printer printer(options);
  printer.List(first);
  return printer.Take();
}

}  // namespace GSCompiler
