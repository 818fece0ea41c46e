/* The packed picture stream, linked in as read-only data. PICTURE_STREAM is the path of the
   stream file written by pack_pictures (a compile definition). */

    .section .rodata.marventa_pictures, "a", @progbits
    .balign 16
    .globl marventa_picture_stream
    .type marventa_picture_stream, @object
marventa_picture_stream:
    .incbin PICTURE_STREAM
marventa_picture_stream_end:
    .size marventa_picture_stream, marventa_picture_stream_end - marventa_picture_stream

    .balign 8
    .globl marventa_picture_stream_size
    .type marventa_picture_stream_size, @object
marventa_picture_stream_size:
    .quad marventa_picture_stream_end - marventa_picture_stream
    .size marventa_picture_stream_size, 8

/* No executable stack wanted. */
    .section .note.GNU-stack, "", @progbits
