#pragma once
#include <stddef.h>
#ifdef __cplusplus
extern "C" {
#endif
int zev_c_sizes_match(void);
void zev_c_describe(const void* record, char* out, size_t size);
void zev_c_describe_old(const void* record, char* out, size_t size);
void zev_c_describe_player(const void* record, char* out, size_t size);
#ifdef __cplusplus
}
#endif
