/* GameScript grammar: an LALR(1) parser (bison, pure/reentrant) that builds the syntax tree of
 * one source unit. No error productions: the first syntax error ends the unit's parse.
 * The value stack starts at 200 entries and doubles up to 10000; deeper nesting ends in
 * "parser stack overflow" rather than in native recursion.
 */
%require "3.2"
%define api.pure full
%define api.prefix {gsyy}
%define parse.error simple
%parse-param {GSCompiler::GSParseContext* ctx}
%lex-param {void* scanner}
%expect 1

%code requires {
#include "gamescript/gs_parse_context.h"
}

%union {
  GSCompiler::GSNode* node;
  GSCompiler::GSChain chain;
  uint32_t bits;
  int32_t code;
}

%code {
#include <cstdio>
#include <cstring>

#define YYINITDEPTH 200
#define YYMAXDEPTH 10000
#define scanner (ctx->scanner)

int gsyylex(GSYYSTYPE* lval, void* yyscanner);

namespace {

using namespace GSCompiler;

void gsyyerror(GSParseContext* ctx, const char* message) {
  // Bison's own wording is replaced by the compiler's two parse failure texts.
  const char* text = std::strcmp(message, "memory exhausted") == 0 ? "parser stack overflow" : "parse error";
  char line[256];
  std::snprintf(line, sizeof line, "%s, line %d", text, ctx->Line());
  ctx->log->Error(ctx->fileName, ctx->Line(), line);
}

GSNode* Tail(GSNode* node) {
  while (node->next) node = node->next;
  return node;
}

GSChain One(GSNode* node) {
  if (!node) return GSChain{nullptr, nullptr};
  return GSChain{node, Tail(node)};
}

GSChain Join(GSChain a, GSChain b) {
  if (!a.head) return b;
  if (!b.head) return a;
  a.tail->next = b.head;
  return GSChain{a.head, b.tail};
}

GSChain Add(GSChain a, GSNode* node) { return Join(a, One(node)); }

GSNode* Op(GSParseContext* ctx, int32_t code, GSNode* a, GSNode* b = nullptr, GSNode* c = nullptr) {
  GSNode* n = ctx->Node(GS_CAT_EXPRESSION, GS_EXPR_OPERATOR);
  n->subkind = code;
  n->child[0] = a;
  n->child[1] = b;
  n->child[2] = c;
  return n;
}

GSNode* Stmt(GSParseContext* ctx, int32_t kind, GSNode* a = nullptr, GSNode* b = nullptr,
             GSNode* c = nullptr, GSNode* d = nullptr) {
  GSNode* n = ctx->Node(GS_CAT_STATEMENT, kind);
  n->child[0] = a;
  n->child[1] = b;
  n->child[2] = c;
  n->child[3] = d;
  return n;
}

GSNode* Decl(GSParseContext* ctx, int32_t kind, GSNode* a = nullptr, GSNode* b = nullptr,
             GSNode* c = nullptr, GSNode* d = nullptr) {
  GSNode* n = ctx->Node(GS_CAT_DECLARATION, kind);
  n->child[0] = a;
  n->child[1] = b;
  n->child[2] = c;
  n->child[3] = d;
  return n;
}

GSNode* Type(GSParseContext* ctx, int32_t code, GSNode* className = nullptr) {
  GSNode* n = Decl(ctx, GS_DECL_TYPE, className);
  n->subkind = code;
  return n;
}

// Re-labels a scanned leaf as the node a production builds from it.
GSNode* Relabel(GSParseContext* ctx, GSNode* n, int32_t category, int32_t kind) {
  n->category = category;
  n->kind = kind;
  n->line = ctx->Line();
  return n;
}

// A labelled statement follows its label as the label's next node.
GSChain Label(GSNode* label, GSChain statement) { return Join(GSChain{label, label}, statement); }

void SetFlag(GSNode* first, uint32_t flag) {
  for (; first; first = first->next) first->flags |= flag;
}

GSNode* Bool(GSParseContext* ctx, int32_t value) {
  GSNode* n = ctx->Node(GS_CAT_EXPRESSION, GS_EXPR_CONSTANT);
  n->subkind = GS_CONST_BOOL;
  n->value.i = value;
  return n;
}

GSNode* Function(GSParseContext* ctx, int32_t kind, GSNode* type, GSNode* name, GSChain params, GSNode* body) {
  if (body) body->flags |= GS_FLAG_FUNCTION_BODY;
  return Decl(ctx, kind, type, name, params.head, body);
}

}  // namespace
}

%token KEYWORD_BREAK 258 KEYWORD_CASE 259 KEYWORD_CONTINUE 260 KEYWORD_DEFAULT 261
%token KEYWORD_ELSE 262 KEYWORD_FOR 263 KEYWORD_GOTO 264 KEYWORD_IF 265 KEYWORD_NULL 266
%token KEYWORD_RETURN 267 KEYWORD_SWITCH 268 KEYWORD_WHILE 269
%token KEYWORD_AND 270 KEYWORD_OR 271 KEYWORD_TRUE 272 KEYWORD_FALSE 273
%token KEYWORD_VOID 274 KEYWORD_BOOL 275 KEYWORD_INT 276 KEYWORD_FLOAT 277 KEYWORD_STRING 278
%token KEYWORD_OBJECT 279
%token KEYWORD_CLASS 280 KEYWORD_INCLUDE 281 KEYWORD_DEFINE 282
%token KEYWORD_STATIC 283 KEYWORD_PUBLIC 284 KEYWORD_NATIVE 285 KEYWORD_FINAL 286
%token KEYWORD_THREAD 287 KEYWORD_GAME 288
%token KEYWORD_SIZE 289 KEYWORD_ISCLASS 290 KEYWORD_COPY 291
%token KEYWORD_ME 292 KEYWORD_NEW 293 KEYWORD_CAST 294 KEYWORD_WAIT 295 KEYWORD_ON 296
%token <node> IDENTIFIER 297
%token <node> CONSTANT_HEX 298 CONSTANT_INT 299 CONSTANT_CHAR 300 CONSTANT_FLOAT 301 CONSTANT_STRING 302
%token SYMBOL_OP_DIM 303
%token SYMBOL_RIGHT_SHIFT 304 SYMBOL_LEFT_SHIFT 305 SYMBOL_INC 306 SYMBOL_DEC 307
%token SYMBOL_LTE 308 SYMBOL_GTE 309 SYMBOL_EQ 310 SYMBOL_NEQ 311
%token SYMBOL_ILLEGAL 312

%type <chain> include_list class_declaration_list class_list declaration_list
%type <chain> declarator_list parameter_list statement_list statement labeled_statement
%type <chain> expression_statement expression argument_expression_list
%type <node> include_declaration include_file class_declaration declaration
%type <node> function_declaration function_prototype_declaration variable_declaration_list
%type <node> declarator type_specifier primitive_type parameter compound_statement
%type <node> selection_statement iteration_statement jump_statement
%type <node> constant_expression assignment_expression logical_or_expression
%type <node> logical_and_expression inclusive_or_expression exclusive_or_expression
%type <node> and_expression equality_expression relational_expression shift_expression
%type <node> additive_expression multiplicative_expression cast_expression unary_expression
%type <node> postfix_expression primary_expression new_expression constant identifier
%type <bits> declaration_specifiers declaration_specifier
%type <code> unary_operator

%start program

%%

program
  : include_list class_declaration_list { ctx->declarations = Join($1, $2).head; }
  | class_declaration_list              { ctx->declarations = $1.head; }
  ;

include_list
  : include_declaration              { $$ = One($1); }
  | include_list include_declaration { $$ = Add($1, $2); }
  ;

include_declaration
  : KEYWORD_INCLUDE include_file { $$ = Decl(ctx, GS_DECL_INCLUDE, $2); }
  ;

include_file
  : CONSTANT_STRING { $$ = Relabel(ctx, $1, GS_CAT_DECLARATION, GS_DECL_NAME); $$->subkind = -1; }
  ;

class_declaration_list
  : class_declaration                        { $$ = One($1); }
  | class_declaration_list class_declaration { $$ = Add($1, $2); }
  ;

class_declaration
  : declaration_specifiers KEYWORD_CLASS identifier KEYWORD_ISCLASS class_list '{' declaration_list '}' ';'
      { $$ = Decl(ctx, GS_DECL_CLASS, $3, $5.head, $7.head); $$->flags |= $1; }
  | declaration_specifiers KEYWORD_CLASS identifier KEYWORD_ISCLASS class_list '{' '}' ';'
      { $$ = Decl(ctx, GS_DECL_CLASS, $3, $5.head); $$->flags |= $1; }
  | declaration_specifiers KEYWORD_CLASS identifier '{' declaration_list '}' ';'
      { $$ = Decl(ctx, GS_DECL_CLASS, $3, nullptr, $5.head); $$->flags |= $1; }
  | declaration_specifiers KEYWORD_CLASS identifier '{' '}' ';'
      { $$ = Decl(ctx, GS_DECL_CLASS, $3); $$->flags |= $1; }
  | KEYWORD_CLASS identifier KEYWORD_ISCLASS class_list '{' declaration_list '}' ';'
      { $$ = Decl(ctx, GS_DECL_CLASS, $2, $4.head, $6.head); }
  | KEYWORD_CLASS identifier KEYWORD_ISCLASS class_list '{' '}' ';'
      { $$ = Decl(ctx, GS_DECL_CLASS, $2, $4.head); }
  | KEYWORD_CLASS identifier '{' declaration_list '}' ';'
      { $$ = Decl(ctx, GS_DECL_CLASS, $2, nullptr, $4.head); }
  | KEYWORD_CLASS identifier '{' '}' ';'
      { $$ = Decl(ctx, GS_DECL_CLASS, $2); }
  ;

class_list
  : identifier                { $$ = One($1); }
  | class_list ',' identifier { $$ = Add($1, $3); }
  ;

declaration_list
  : declaration                  { $$ = One($1); }
  | declaration_list declaration { $$ = Add($1, $2); }
  ;

declaration
  : declaration_specifiers function_declaration           { $$ = $2; $$->flags |= $1; }
  | declaration_specifiers function_prototype_declaration { $$ = $2; $$->flags |= $1; }
  | declaration_specifiers variable_declaration_list
      { $$ = $2; $$->flags |= $1 | GS_FLAG_MEMBER_VARIABLE; }
  | function_declaration           { $$ = $1; }
  | function_prototype_declaration { $$ = $1; }
  | variable_declaration_list      { $$ = $1; $$->flags |= GS_FLAG_MEMBER_VARIABLE; }
  ;

declaration_specifiers
  : declaration_specifier                        { $$ = $1; }
  | declaration_specifiers declaration_specifier { $$ = $1 | $2; }
  ;

declaration_specifier
  : KEYWORD_PUBLIC { $$ = GS_SPEC_PUBLIC; }
  | KEYWORD_NATIVE { $$ = GS_SPEC_NATIVE; }
  | KEYWORD_FINAL  { $$ = GS_SPEC_FINAL; }
  | KEYWORD_THREAD { $$ = GS_SPEC_THREAD; }
  | KEYWORD_STATIC { $$ = GS_SPEC_STATIC; }
  | KEYWORD_GAME   { $$ = GS_SPEC_GAME; }
  | KEYWORD_DEFINE { $$ = GS_SPEC_DEFINE; }
  ;

function_prototype_declaration
  : type_specifier identifier '(' ')' ';'
      { $$ = Function(ctx, GS_DECL_PROTOTYPE, $1, $2, GSChain{}, nullptr); }
  | type_specifier identifier '(' KEYWORD_VOID ')' ';'
      { $$ = Function(ctx, GS_DECL_PROTOTYPE, $1, $2, GSChain{}, nullptr); }
  | type_specifier identifier '(' parameter_list ')' ';'
      { $$ = Function(ctx, GS_DECL_PROTOTYPE, $1, $2, $4, nullptr); }
  ;

function_declaration
  : type_specifier identifier '(' ')' compound_statement
      { $$ = Function(ctx, GS_DECL_FUNCTION, $1, $2, GSChain{}, $5); }
  | type_specifier identifier '(' KEYWORD_VOID ')' compound_statement
      { $$ = Function(ctx, GS_DECL_FUNCTION, $1, $2, GSChain{}, $6); }
  | type_specifier identifier '(' parameter_list ')' compound_statement
      { $$ = Function(ctx, GS_DECL_FUNCTION, $1, $2, $4, $6); }
  ;

variable_declaration_list
  : type_specifier declarator_list ';' { $$ = Decl(ctx, GS_DECL_VARIABLES, $1, $2.head); }
  ;

declarator_list
  : declarator                     { $$ = One($1); }
  | declarator_list ',' declarator { $$ = Add($1, $3); }
  ;

declarator
  : identifier                         { $$ = Decl(ctx, GS_DECL_DECLARATOR, $1); }
  | identifier '=' constant_expression { $$ = Decl(ctx, GS_DECL_DECLARATOR, $1, $3); }
  ;

type_specifier
  : primitive_type               { $$ = $1; }
  | primitive_type SYMBOL_OP_DIM { $$ = $1; $$->subkind += GS_TYPE_ARRAY_OFFSET; $$->line = ctx->Line(); }
  | identifier                   { $$ = Type(ctx, GS_TYPE_OBJECT, $1); }
  | identifier SYMBOL_OP_DIM     { $$ = Type(ctx, GS_TYPE_OBJECT_ARRAY, $1); }
  ;

primitive_type
  : KEYWORD_VOID   { $$ = Type(ctx, GS_TYPE_VOID); }
  | KEYWORD_BOOL   { $$ = Type(ctx, GS_TYPE_BOOL); }
  | KEYWORD_INT    { $$ = Type(ctx, GS_TYPE_INT); }
  | KEYWORD_FLOAT  { $$ = Type(ctx, GS_TYPE_FLOAT); }
  | KEYWORD_STRING { $$ = Type(ctx, GS_TYPE_STRING); }
  | KEYWORD_OBJECT { $$ = Type(ctx, GS_TYPE_OBJECT); }
  ;

parameter_list
  : parameter                    { $$ = One($1); }
  | parameter_list ',' parameter { $$ = Add($1, $3); }
  ;

parameter
  : type_specifier identifier { $$ = Decl(ctx, GS_DECL_PARAMETER, $1, $2); }
  ;

compound_statement
  : '{' '}'                { $$ = Stmt(ctx, GS_STMT_COMPOUND); }
  | '{' statement_list '}' { $$ = Stmt(ctx, GS_STMT_COMPOUND, $2.head); }
  ;

statement_list
  : statement                { $$ = $1; }
  | statement_list statement { $$ = Join($1, $2); }
  ;

statement
  : variable_declaration_list { $$ = One($1); }
  | labeled_statement         { $$ = $1; }
  | compound_statement        { $$ = One($1); }
  | expression_statement      { $$ = $1; }
  | selection_statement       { $$ = One($1); }
  | iteration_statement       { $$ = One($1); }
  | jump_statement            { $$ = One($1); }
  ;

labeled_statement
  : identifier ':' statement
      { $$ = Label(Stmt(ctx, GS_STMT_LABEL, $1), $3); }
  | KEYWORD_CASE constant_expression ':' statement
      { $$ = Label(Stmt(ctx, GS_STMT_CASE, $2), $4); }
  | KEYWORD_DEFAULT ':' statement
      { $$ = Label(Stmt(ctx, GS_STMT_DEFAULT), $3); }
  | KEYWORD_ON constant ',' constant ':' statement
      { $$ = Label(Stmt(ctx, GS_STMT_ON, $2, $4), $6); }
  | KEYWORD_ON constant ',' constant ',' unary_expression ':' statement
      { $$ = Label(Stmt(ctx, GS_STMT_ON, $2, $4, $6), $8); }
  ;

expression_statement
  : ';'            { $$ = GSChain{nullptr, nullptr}; }
  | expression ';' { $$ = $1; SetFlag($1.head, GS_FLAG_DISCARDED); }
  ;

selection_statement
  : KEYWORD_IF '(' expression ')' statement
      { $$ = Stmt(ctx, GS_STMT_IF, $3.head, $5.head); }
  | KEYWORD_IF '(' expression ')' statement KEYWORD_ELSE statement
      { $$ = Stmt(ctx, GS_STMT_IF, $3.head, $5.head, $7.head); }
  | KEYWORD_SWITCH '(' expression ')' compound_statement
      { $$ = Stmt(ctx, GS_STMT_SWITCH, $3.head, $5); $$->subkind = 255; }
  | KEYWORD_WAIT '(' ')' compound_statement
      { $$ = Stmt(ctx, GS_STMT_WAIT, $4); }
  ;

iteration_statement
  : KEYWORD_WHILE '(' expression ')' statement
      { $$ = Stmt(ctx, GS_STMT_WHILE, $3.head, $5.head); }
  | KEYWORD_FOR '(' expression_statement expression_statement ')' statement
      { if ($4.tail) $4.tail->flags &= ~GS_FLAG_DISCARDED;
        $$ = Stmt(ctx, GS_STMT_FOR, $3.head, $4.head, $6.head); }
  | KEYWORD_FOR '(' expression_statement expression_statement expression ')' statement
      { if ($4.tail) $4.tail->flags &= ~GS_FLAG_DISCARDED;
        SetFlag($5.head, GS_FLAG_DISCARDED);
        $$ = Stmt(ctx, GS_STMT_FOR, $3.head, $4.head, $7.head, $5.head); }
  ;

jump_statement
  : KEYWORD_GOTO identifier ';' { $$ = Stmt(ctx, GS_STMT_GOTO, $2); }
  | KEYWORD_CONTINUE ';'        { $$ = Stmt(ctx, GS_STMT_CONTINUE); }
  | KEYWORD_BREAK ';'           { $$ = Stmt(ctx, GS_STMT_BREAK); }
  | KEYWORD_RETURN ';'          { $$ = Stmt(ctx, GS_STMT_RETURN); }
  | KEYWORD_RETURN expression ';' { $$ = Stmt(ctx, GS_STMT_RETURN, $2.head); }
  ;

constant_expression
  : logical_or_expression { $$ = $1; }
  ;

expression
  : assignment_expression                { $$ = One($1); }
  | expression ',' assignment_expression { $1.head->flags |= GS_FLAG_DISCARDED; $$ = Add($1, $3); }
  ;

assignment_expression
  : logical_or_expression                       { $$ = $1; }
  | unary_expression '=' assignment_expression  { $$ = Op(ctx, GS_OP_ASSIGN, $1, $3); }
  ;

logical_or_expression
  : logical_and_expression                               { $$ = $1; }
  | logical_or_expression KEYWORD_OR logical_and_expression { $$ = Op(ctx, GS_OP_OR, $1, $3); }
  ;

logical_and_expression
  : inclusive_or_expression                                 { $$ = $1; }
  | logical_and_expression KEYWORD_AND inclusive_or_expression { $$ = Op(ctx, GS_OP_AND, $1, $3); }
  ;

inclusive_or_expression
  : exclusive_or_expression                             { $$ = $1; }
  | inclusive_or_expression '|' exclusive_or_expression { $$ = Op(ctx, GS_OP_BIT_OR, $1, $3); }
  ;

exclusive_or_expression
  : and_expression                             { $$ = $1; }
  | exclusive_or_expression '^' and_expression { $$ = Op(ctx, GS_OP_BIT_XOR, $1, $3); }
  ;

and_expression
  : equality_expression                    { $$ = $1; }
  | and_expression '&' equality_expression { $$ = Op(ctx, GS_OP_BIT_AND, $1, $3); }
  ;

equality_expression
  : relational_expression                                { $$ = $1; }
  | equality_expression SYMBOL_EQ relational_expression  { $$ = Op(ctx, GS_OP_EQ, $1, $3); }
  | equality_expression SYMBOL_NEQ relational_expression { $$ = Op(ctx, GS_OP_NE, $1, $3); }
  ;

relational_expression
  : shift_expression                                  { $$ = $1; }
  | relational_expression '<' shift_expression        { $$ = Op(ctx, GS_OP_LT, $1, $3); }
  | relational_expression '>' shift_expression        { $$ = Op(ctx, GS_OP_GT, $1, $3); }
  | relational_expression SYMBOL_LTE shift_expression { $$ = Op(ctx, GS_OP_LE, $1, $3); }
  | relational_expression SYMBOL_GTE shift_expression { $$ = Op(ctx, GS_OP_GE, $1, $3); }
  ;

shift_expression
  : additive_expression                                     { $$ = $1; }
  | shift_expression SYMBOL_LEFT_SHIFT additive_expression  { $$ = Op(ctx, GS_OP_SHL, $1, $3); }
  | shift_expression SYMBOL_RIGHT_SHIFT additive_expression { $$ = Op(ctx, GS_OP_SHR, $1, $3); }
  ;

additive_expression
  : multiplicative_expression                         { $$ = $1; }
  | additive_expression '+' multiplicative_expression { $$ = Op(ctx, GS_OP_ADD, $1, $3); }
  | additive_expression '-' multiplicative_expression { $$ = Op(ctx, GS_OP_SUB, $1, $3); }
  ;

multiplicative_expression
  : cast_expression                               { $$ = $1; }
  | multiplicative_expression '*' cast_expression { $$ = Op(ctx, GS_OP_MUL, $1, $3); }
  | multiplicative_expression '/' cast_expression { $$ = Op(ctx, GS_OP_DIV, $1, $3); }
  | multiplicative_expression '%' cast_expression { $$ = Op(ctx, GS_OP_MOD, $1, $3); }
  ;

cast_expression
  : unary_expression { $$ = $1; }
  | '(' primitive_type ')' cast_expression { $$ = Op(ctx, GS_OP_CAST, $4, $2); }
  | '(' primitive_type SYMBOL_OP_DIM ')' cast_expression
      { $2->subkind += GS_TYPE_ARRAY_OFFSET; $$ = Op(ctx, GS_OP_CAST, $5, $2); }
  | KEYWORD_CAST '<' type_specifier '>' cast_expression { $$ = Op(ctx, GS_OP_CAST, $5, $3); }
  ;

unary_expression
  : postfix_expression                 { $$ = $1; }
  | SYMBOL_INC unary_expression        { $$ = Op(ctx, GS_OP_PRE_INC, $2); }
  | SYMBOL_DEC unary_expression        { $$ = Op(ctx, GS_OP_PRE_DEC, $2); }
  | unary_operator cast_expression     { $$ = Op(ctx, $1, $2); }
  ;

unary_operator
  : '+' { $$ = GS_OP_PLUS; }
  | '-' { $$ = GS_OP_NEGATE; }
  | '~' { $$ = GS_OP_COMPLEMENT; }
  | '!' { $$ = GS_OP_NOT; }
  ;

postfix_expression
  : primary_expression { $$ = $1; }
  | postfix_expression '[' ',' assignment_expression ']'
      { $$ = Op(ctx, GS_OP_RANGE, $1, nullptr, $4); }
  | postfix_expression '[' assignment_expression ',' ']'
      { $$ = Op(ctx, GS_OP_RANGE, $1, $3, nullptr); }
  | postfix_expression '[' assignment_expression ',' assignment_expression ']'
      { $$ = Op(ctx, GS_OP_RANGE, $1, $3, $5); }
  | postfix_expression '[' assignment_expression ']'
      { $$ = Op(ctx, GS_OP_INDEX, $1, $3); }
  | postfix_expression '(' ')'
      { $$ = ctx->Node(GS_CAT_EXPRESSION, GS_EXPR_CALL); $$->child[0] = $1; }
  | postfix_expression '(' argument_expression_list ')'
      { $$ = ctx->Node(GS_CAT_EXPRESSION, GS_EXPR_CALL); $$->child[0] = $1; $$->child[1] = $3.head; }
  | postfix_expression '.' identifier
      { $$ = Op(ctx, GS_OP_MEMBER, $1, Relabel(ctx, $3, GS_CAT_EXPRESSION, GS_EXPR_MEMBER)); }
  | postfix_expression SYMBOL_INC { $$ = Op(ctx, GS_OP_POST_INC, $1); }
  | postfix_expression SYMBOL_DEC { $$ = Op(ctx, GS_OP_POST_DEC, $1); }
  | postfix_expression '.' KEYWORD_SIZE '(' ')' { $$ = Op(ctx, GS_OP_SIZE, $1); }
  | postfix_expression '.' KEYWORD_ISCLASS '(' identifier ')' { $$ = Op(ctx, GS_OP_ISCLASS, $1, $5); }
  | postfix_expression '.' KEYWORD_COPY '(' assignment_expression ')' { $$ = Op(ctx, GS_OP_COPY, $1, $5); }
  ;

argument_expression_list
  : assignment_expression                              { $$ = One($1); }
  | argument_expression_list ',' assignment_expression { $$ = Add($1, $3); }
  ;

primary_expression
  : identifier     { $$ = Relabel(ctx, $1, GS_CAT_EXPRESSION, GS_EXPR_IDENTIFIER); }
  | KEYWORD_ME     { $$ = ctx->Node(GS_CAT_EXPRESSION, GS_EXPR_ME); }
  | KEYWORD_NULL   { $$ = ctx->Node(GS_CAT_EXPRESSION, GS_EXPR_NULL); }
  | constant       { $$ = $1; }
  | new_expression { $$ = $1; }
  | '(' expression ')' { $$ = $2.head; }
  ;

new_expression
  : KEYWORD_NEW primitive_type '(' ')'
      { $$ = Op(ctx, GS_OP_NEW, $2); }
  | KEYWORD_NEW primitive_type '(' argument_expression_list ')'
      { $$ = Op(ctx, GS_OP_NEW, $2, nullptr, $4.head); }
  | KEYWORD_NEW primitive_type '[' expression ']'
      { $2->subkind += GS_TYPE_ARRAY_OFFSET; $$ = Op(ctx, GS_OP_NEW, $2, $4.head); }
  | KEYWORD_NEW identifier '(' ')'
      { $$ = Op(ctx, GS_OP_NEW, Type(ctx, GS_TYPE_OBJECT, $2)); }
  | KEYWORD_NEW identifier '(' argument_expression_list ')'
      { $$ = Op(ctx, GS_OP_NEW, Type(ctx, GS_TYPE_OBJECT, $2), nullptr, $4.head); }
  | KEYWORD_NEW identifier '[' expression ']'
      { $$ = Op(ctx, GS_OP_NEW, Type(ctx, GS_TYPE_OBJECT_ARRAY, $2), $4.head); }
  ;

constant
  : CONSTANT_HEX    { $$ = $1; $$->line = ctx->Line(); }
  | CONSTANT_INT    { $$ = $1; $$->line = ctx->Line(); }
  | CONSTANT_CHAR   { $$ = $1; $$->line = ctx->Line(); }
  | CONSTANT_FLOAT  { $$ = $1; $$->line = ctx->Line(); }
  | CONSTANT_STRING { $$ = $1; $$->line = ctx->Line(); }
  | KEYWORD_TRUE    { $$ = Bool(ctx, 1); }
  | KEYWORD_FALSE   { $$ = Bool(ctx, 0); }
  ;

identifier
  : IDENTIFIER { $$ = Relabel(ctx, $1, GS_CAT_DECLARATION, GS_DECL_NAME); }
  ;

%%
