// Drives the generated scanner and parser over one unit held in memory.
#include "gamescript/gs_parser.h"

#include "gamescript/gs_grammar.hpp"
#include "gamescript/gs_parse_context.h"

typedef void* yyscan_t;
int gsyylex_init_extra(GSCompiler::GSParseContext* extra, yyscan_t* scanner);
int gsyylex_destroy(yyscan_t scanner);
void gsyyset_lineno(int line, yyscan_t scanner);
struct yy_buffer_state;
yy_buffer_state* gsyy_scan_bytes(const char* bytes, int length, yyscan_t scanner);
int gsyylex(GSYYSTYPE* lval, void* yyscanner);

namespace GSCompiler {

namespace {

constexpr size_t kMaxSource = 0x7FFFFF00;

// Owns one reentrant scanner set up on a copy of the source text.
class Scanner {
 public:
  Scanner(GSParseContext& ctx, std::string_view source) {
    gsyylex_init_extra(&ctx, &handle_);
    ctx.scanner = handle_;
    gsyy_scan_bytes(source.data(), static_cast<int>(source.size()), handle_);
    gsyyset_lineno(1, handle_);  // a buffer made from bytes does not start its line count
  }
  ~Scanner() { gsyylex_destroy(handle_); }
  Scanner(const Scanner&) = delete;
  Scanner& operator=(const Scanner&) = delete;

 private:
  yyscan_t handle_ = nullptr;
};

}  // namespace

GSParseStatus GSParse(std::string_view source, const char* fileName, Utils::BlockMemory& nodes,
                      GSStringPool& pool, GSLog& log, GSNode** declarations) {
  *declarations = nullptr;
  if (source.size() > kMaxSource) {
    // The scanner counts its buffer in int; a unit this large cannot be a script.
    log.Error(fileName, 1, "parse error, line 1");
    return GS_PARSE_SYNTAX_ERROR;
  }
  GSParseContext ctx;
  ctx.nodes = &nodes;
  ctx.pool = &pool;
  ctx.log = &log;
  ctx.fileName = fileName;
  Scanner scanner(ctx, source);
  int result = gsyyparse(&ctx);
  *declarations = result == 0 ? ctx.declarations : nullptr;
  if (result == 0) return GS_PARSE_OK;
  return result == 2 ? GS_PARSE_STACK_OVERFLOW : GS_PARSE_SYNTAX_ERROR;
}

void GSScanTokens(std::string_view source, Utils::BlockMemory& nodes, GSStringPool& pool,
                  void (*onToken)(void* user, int token, int line), void* user) {
  if (source.size() > kMaxSource) return;
  GSParseContext ctx;
  ctx.nodes = &nodes;
  ctx.pool = &pool;
  Scanner scanner(ctx, source);
  GSYYSTYPE value;
  for (int token; (token = gsyylex(&value, ctx.scanner)) != 0;) onToken(user, token, ctx.Line());
}

}  // namespace GSCompiler
