// 8096 bytes (not 8192): the size the log has always been read with.
#include "render/info_log.h"

#include "platform/console.h"

void printInfoLog(InfoLogOf kind, GLuint object) {
    constexpr GLsizei kInfoLogSize = 8096;
    char log[kInfoLogSize];
    log[0] = 0;
    GLsizei length = 0;
    if (kind == InfoLogOf::Shader) {
        glGetShaderInfoLog(object, kInfoLogSize, &length, log);
    } else {
        glGetProgramInfoLog(object, kInfoLogSize, &length, log);
    }
    if (length > 0) platform::printLine(log);
}
