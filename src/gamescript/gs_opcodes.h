// The byte-code instruction set: one opcode byte, then its operand. The table gives each
// opcode's mnemonic, operand form and stack effect (calls adjust the stack by their callee).
#pragma once
#include <cstdint>

namespace GSCompiler {

enum GSOperand : uint8_t {
  GS_OPND_NONE,    // -
  GS_OPND_I16,     // one i16 (slot, class number, string id, argument adjustment)
  GS_OPND_I16X2,   // two i16 (calls: 1 - argument count, dispatch slot)
  GS_OPND_I32,     // one i32 or f32 (constants, jump targets)
  GS_OPND_SWITCH,  // i16 c, c i32 values, c i32 offsets, i32 default offset
  GS_OPND_WAIT,    // i16 n, n pairs of i16 string ids, n i32 offsets
};

// Opcode numbers. V = value types (bool, int, float), R = reference types.
enum GSOpcode : uint8_t {
  OP_ADD_I = 0, OP_SUB_I = 1, OP_MUL_I = 2, OP_DIV_I = 3, OP_MOD_I = 4,  // int arithmetic
  OP_NEG_I = 5, OP_INC_I = 6, OP_DEC_I = 7,
  OP_I2F = 8,          // int to float
  OP_CMP_I = 9,        // compare two ints (or bools), leaving an ordering value
  OP_PUSH_0 = 10, OP_PUSH_1 = 11,
  OP_TEST_EQ = 12,     // ordering value (or int/bool) == 0; also '!' on int and bool
  OP_AND_I = 13, OP_OR_I = 14, OP_XOR_I = 15,
  OP_COMPLEMENT = 16,  // '~'
  OP_SHL = 17, OP_SHR = 18,
  OP_ADD_F = 19, OP_SUB_F = 20, OP_MUL_F = 21, OP_DIV_F = 22, OP_MOD_F = 23,  // float arithmetic
  OP_NEG_F = 24, OP_INC_F = 25, OP_DEC_F = 26,
  OP_F2I = 27,
  OP_CMP_F = 28,
  OP_NOT_F = 29,       // '!' on a float
  OP_PUSH_32 = 30,     // i32 or f32 constant
  OP_LOAD_LOCAL_V = 31, OP_LOAD_LOCAL_R = 32,                    // i16 local slot
  OP_STORE_LOCAL_V = 33, OP_STORE_LOCAL_V_KEEP = 34,             // i16 local slot
  OP_STORE_LOCAL_R = 35, OP_STORE_LOCAL_R_KEEP = 36,             // i16 local slot
  OP_POP_V = 37, OP_POP_R = 38,                                  // discard a result
  OP_DUP = 39,         // duplicate the top value
  OP_DUP_OBJECT = 40,  // duplicate the object under a member access
  OP_DUP_ELEMENT = 41, // duplicate the object and index under an element access
  OP_JUMP = 43,        // i32 target
  OP_JUMP_FALSE = 44,  // i32 target; pops the condition
  OP_POP_DISCARD = 45, // spare: drops one value
  OP_AND_JUMP = 46,    // i32 target: 'and' short cut, jumps keeping a false value
  OP_OR_JUMP = 47,     // i32 target: 'or' short cut, jumps keeping a true value
  OP_TEST_LT = 52, OP_TEST_LE = 53, OP_TEST_GT = 54, OP_TEST_GE = 55,
  OP_NEW_ARRAY_V = 56, OP_NEW_ARRAY_R = 57,  // element count on the stack
  OP_ARRAY_SIZE = 58, OP_ARRAY_COPY = 59,
  OP_LOAD_ELEM_V = 60, OP_STORE_ELEM_V = 61, OP_STORE_ELEM_V_KEEP = 62,
  OP_LOAD_ELEM_R = 63, OP_STORE_ELEM_R = 64, OP_STORE_ELEM_R_KEEP = 65,
  OP_RANGE_V = 66, OP_STORE_RANGE_V = 67, OP_STORE_RANGE_V_KEEP = 68,
  OP_RANGE_R = 69, OP_STORE_RANGE_R = 70, OP_STORE_RANGE_R_KEEP = 71,
  OP_NEW_STRING = 72,
  OP_PUSH_STRING = 73,  // i16 string id
  OP_I2S = 74, OP_B2S = 75, OP_F2S = 76,
  OP_STRING_COPY = 77, OP_STRING_SIZE = 78,
  OP_LOAD_CHAR = 79, OP_STORE_CHAR = 80, OP_STORE_CHAR_KEEP = 81,
  OP_RANGE_S = 82, OP_STORE_RANGE_S = 83, OP_STORE_RANGE_S_KEEP = 84,
  OP_CMP_S = 85, OP_ADD_S = 86,
  OP_ISCLASS = 87, OP_NEW_OBJECT = 88, OP_STATIC_OBJECT = 89, OP_CAST = 90,  // i16 class number
  OP_CMP_R = 91, OP_NOT_R = 92,
  OP_LOOP = 93,
  OP_CALL = 94, OP_CALL_NATIVE = 95, OP_CALL_THREAD = 96,  // i16 1 - argument count, i16 slot
  OP_LOAD_MEMBER_OF_V = 97, OP_LOAD_MEMBER_OF_R = 98,      // i16 member slot
  OP_STORE_MEMBER_OF_V = 99, OP_STORE_MEMBER_OF_V_KEEP = 100,
  OP_STORE_MEMBER_OF_R = 101, OP_STORE_MEMBER_OF_R_KEEP = 102,
  OP_LOAD_MEMBER_V = 103, OP_LOAD_MEMBER_R = 104,          // i16 member slot of the current object
  OP_STORE_MEMBER_V = 105, OP_STORE_MEMBER_R = 106,
  OP_STORE_MEMBER_V_KEEP = 107, OP_STORE_MEMBER_R_KEEP = 108,
  OP_RETURN = 109, OP_RETURN_V = 110, OP_RETURN_R = 111,
  OP_WAIT = 112, OP_SWITCH = 113,
  OP_INHERITED = 114,   // i16 1 - argument count; prefix of an inherited call
  OP_TEST_NE = 115,
};

inline constexpr int kOpcodeCount = 116;

struct GSOpcodeInfo {
  const char* name;  // nullptr for numbers not in use
  GSOperand operand;
  int8_t stack;      // effect on the expression-stack depth
};

const GSOpcodeInfo& OpcodeInfo(uint8_t opcode);

}  // namespace GSCompiler
