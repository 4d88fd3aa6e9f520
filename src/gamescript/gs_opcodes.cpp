// The opcode table: mnemonic, operand form and stack effect of every opcode.
#include "gamescript/gs_opcodes.h"

namespace GSCompiler {

namespace {

const GSOpcodeInfo kOpcodes[kOpcodeCount] = {
    {"add_i", GS_OPND_NONE, -1},  // 0
    {"sub_i", GS_OPND_NONE, -1},  // 1
    {"mul_i", GS_OPND_NONE, -1},  // 2
    {"div_i", GS_OPND_NONE, -1},  // 3
    {"mod_i", GS_OPND_NONE, -1},  // 4
    {"neg_i", GS_OPND_NONE, 0},  // 5
    {"inc_i", GS_OPND_NONE, 0},  // 6
    {"dec_i", GS_OPND_NONE, 0},  // 7
    {"i2f", GS_OPND_NONE, 0},  // 8
    {"cmp_i", GS_OPND_NONE, -1},  // 9
    {"push_0", GS_OPND_NONE, 1},  // 10
    {"push_1", GS_OPND_NONE, 1},  // 11
    {"test_eq", GS_OPND_NONE, 0},  // 12
    {"and_i", GS_OPND_NONE, -1},  // 13
    {"or_i", GS_OPND_NONE, -1},  // 14
    {"xor_i", GS_OPND_NONE, -1},  // 15
    {"complement", GS_OPND_NONE, 0},  // 16
    {"shl", GS_OPND_NONE, -1},  // 17
    {"shr", GS_OPND_NONE, -1},  // 18
    {"add_f", GS_OPND_NONE, -1},  // 19
    {"sub_f", GS_OPND_NONE, -1},  // 20
    {"mul_f", GS_OPND_NONE, -1},  // 21
    {"div_f", GS_OPND_NONE, -1},  // 22
    {"mod_f", GS_OPND_NONE, -1},  // 23
    {"neg_f", GS_OPND_NONE, 0},  // 24
    {"inc_f", GS_OPND_NONE, 0},  // 25
    {"dec_f", GS_OPND_NONE, 0},  // 26
    {"f2i", GS_OPND_NONE, 0},  // 27
    {"cmp_f", GS_OPND_NONE, -1},  // 28
    {"not_f", GS_OPND_NONE, 0},  // 29
    {"push_32", GS_OPND_I32, 1},  // 30
    {"load_local_v", GS_OPND_I16, 1},  // 31
    {"load_local_r", GS_OPND_I16, 1},  // 32
    {"store_local_v", GS_OPND_I16, -1},  // 33
    {"store_local_v_keep", GS_OPND_I16, 0},  // 34
    {"store_local_r", GS_OPND_I16, -1},  // 35
    {"store_local_r_keep", GS_OPND_I16, 0},  // 36
    {"pop_v", GS_OPND_NONE, -1},  // 37
    {"pop_r", GS_OPND_NONE, -1},  // 38
    {"dup", GS_OPND_NONE, 1},  // 39
    {"dup_object", GS_OPND_NONE, 1},  // 40
    {"dup_element", GS_OPND_NONE, 2},  // 41
    {nullptr, GS_OPND_NONE, 0},  // 42
    {"jump", GS_OPND_I32, 0},  // 43
    {"jump_false", GS_OPND_I32, -1},  // 44
    {"pop_discard", GS_OPND_NONE, -1},  // 45
    {"and_jump", GS_OPND_I32, 0},  // 46
    {"or_jump", GS_OPND_I32, 0},  // 47
    {"spare48", GS_OPND_NONE, -1},  // 48
    {"spare49", GS_OPND_NONE, -1},  // 49
    {"spare50", GS_OPND_NONE, -1},  // 50
    {"spare51", GS_OPND_NONE, -1},  // 51
    {"test_lt", GS_OPND_NONE, 0},  // 52
    {"test_le", GS_OPND_NONE, 0},  // 53
    {"test_gt", GS_OPND_NONE, 0},  // 54
    {"test_ge", GS_OPND_NONE, 0},  // 55
    {"new_array_v", GS_OPND_NONE, 0},  // 56
    {"new_array_r", GS_OPND_NONE, 0},  // 57
    {"array_size", GS_OPND_NONE, 0},  // 58
    {"array_copy", GS_OPND_NONE, 0},  // 59
    {"load_elem_v", GS_OPND_NONE, -1},  // 60
    {"store_elem_v", GS_OPND_NONE, -3},  // 61
    {"store_elem_v_keep", GS_OPND_NONE, -2},  // 62
    {"load_elem_r", GS_OPND_NONE, -1},  // 63
    {"store_elem_r", GS_OPND_NONE, -3},  // 64
    {"store_elem_r_keep", GS_OPND_NONE, -2},  // 65
    {"range_v", GS_OPND_NONE, -2},  // 66
    {"store_range_v", GS_OPND_NONE, -4},  // 67
    {"store_range_v_keep", GS_OPND_NONE, -3},  // 68
    {"range_r", GS_OPND_NONE, -2},  // 69
    {"store_range_r", GS_OPND_NONE, -4},  // 70
    {"store_range_r_keep", GS_OPND_NONE, -3},  // 71
    {"new_string", GS_OPND_NONE, 1},  // 72
    {"push_string", GS_OPND_I16, 1},  // 73
    {"i2s", GS_OPND_NONE, 0},  // 74
    {"b2s", GS_OPND_NONE, 0},  // 75
    {"f2s", GS_OPND_NONE, 0},  // 76
    {"string_copy", GS_OPND_NONE, 0},  // 77
    {"string_size", GS_OPND_NONE, 0},  // 78
    {"load_char", GS_OPND_NONE, -1},  // 79
    {"store_char", GS_OPND_NONE, -3},  // 80
    {"store_char_keep", GS_OPND_NONE, -2},  // 81
    {"range_s", GS_OPND_NONE, -2},  // 82
    {"store_range_s", GS_OPND_NONE, -4},  // 83
    {"store_range_s_keep", GS_OPND_NONE, -3},  // 84
    {"cmp_s", GS_OPND_NONE, -1},  // 85
    {"add_s", GS_OPND_NONE, -1},  // 86
    {"isclass", GS_OPND_I16, 0},  // 87
    {"new_object", GS_OPND_I16, 1},  // 88
    {"static_object", GS_OPND_I16, 1},  // 89
    {"cast", GS_OPND_I16, 0},  // 90
    {"cmp_r", GS_OPND_NONE, -1},  // 91
    {"not_r", GS_OPND_NONE, 0},  // 92
    {"loop", GS_OPND_NONE, 0},  // 93
    {"call", GS_OPND_I16X2, 0},  // 94
    {"call_native", GS_OPND_I16X2, 0},  // 95
    {"call_thread", GS_OPND_I16X2, 0},  // 96
    {"load_member_of_v", GS_OPND_I16, 0},  // 97
    {"load_member_of_r", GS_OPND_I16, 0},  // 98
    {"store_member_of_v", GS_OPND_I16, -2},  // 99
    {"store_member_of_v_keep", GS_OPND_I16, -1},  // 100
    {"store_member_of_r", GS_OPND_I16, -2},  // 101
    {"store_member_of_r_keep", GS_OPND_I16, -1},  // 102
    {"load_member_v", GS_OPND_I16, 1},  // 103
    {"load_member_r", GS_OPND_I16, 1},  // 104
    {"store_member_v", GS_OPND_I16, -1},  // 105
    {"store_member_r", GS_OPND_I16, -1},  // 106
    {"store_member_v_keep", GS_OPND_I16, 0},  // 107
    {"store_member_r_keep", GS_OPND_I16, 0},  // 108
    {"return", GS_OPND_NONE, 0},  // 109
    {"return_v", GS_OPND_NONE, -1},  // 110
    {"return_r", GS_OPND_NONE, -1},  // 111
    {"wait", GS_OPND_WAIT, 0},  // 112
    {"switch", GS_OPND_SWITCH, -1},  // 113
    {"inherited", GS_OPND_I16, 0},  // 114
    {"test_ne", GS_OPND_NONE, 0},  // 115
};

const GSOpcodeInfo kUnknown = {nullptr, GS_OPND_NONE, 0};

}  // namespace

const GSOpcodeInfo& OpcodeInfo(uint8_t opcode) { return opcode < kOpcodeCount ? kOpcodes[opcode] : kUnknown; }

}  // namespace GSCompiler
