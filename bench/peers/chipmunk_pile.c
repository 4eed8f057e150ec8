/* The 400-ball pile of the box400 benchmark in Chipmunk 7: balls of radius
 * 0.1 and density 7800, restitution 0.5 (Chipmunk multiplies the
 * elasticities of a pair, so each shape has the square root of it), dropped
 * in the same rows into a box of a floor and two walls, settled for 3 s,
 * then timed for a number of steps of 0.001 s on one core (processor time).
 * Sleeping is off, as it is by default. */
#include <chipmunk/chipmunk.h>
#include <math.h>
#include <stdio.h>
#include <stdlib.h>
#include <time.h>

int main(int argc, char** argv) {
    const int iterations = argc > 1 ? atoi(argv[1]) : 10;
    const int steps = argc > 2 ? atoi(argv[2]) : 5000;
    const double elasticity = sqrt(0.5);
    cpSpace* space = cpSpaceNew();
    cpSpaceSetIterations(space, iterations);
    cpSpaceSetGravity(space, cpv(0, -9.81));
    cpBody* fixed = cpSpaceGetStaticBody(space);
    cpShape* bars[3] = {
        cpBoxShapeNew2(fixed, cpBBNew(-2.2, -0.05, 2.2, 0.05), 0),
        cpBoxShapeNew2(fixed, cpBBNew(-2.1, -0.1, -2.0, 10), 0),
        cpBoxShapeNew2(fixed, cpBBNew(2.0, -0.1, 2.1, 10), 0),
    };
    for (int k = 0; k < 3; ++k) {
        cpShapeSetElasticity(bars[k], elasticity);
        cpShapeSetFriction(bars[k], 0.7);
        cpSpaceAddShape(space, bars[k]);
    }
    cpBody* balls[400];
    const double radius = 0.1;
    const double mass = 7800 * M_PI * radius * radius;
    for (int k = 0; k < 400; ++k) {
        balls[k] = cpSpaceAddBody(space, cpBodyNew(mass, cpMomentForCircle(mass, 0, radius, cpvzero)));
        cpBodySetPosition(balls[k], cpv(-1.9 + (k % 19) * 0.205 + (k / 19 % 2) * 0.05, 0.16 + (k / 19) * 0.205));
        cpShape* shape = cpSpaceAddShape(space, cpCircleShapeNew(balls[k], radius, cpvzero));
        cpShapeSetElasticity(shape, elasticity);
        cpShapeSetFriction(shape, 0.7);
    }
    for (int k = 0; k < 3000; ++k) cpSpaceStep(space, 0.001);
    const clock_t start = clock();
    for (int k = 0; k < steps; ++k) cpSpaceStep(space, 0.001);
    const double seconds = (double)(clock() - start) / CLOCKS_PER_SEC;
    int outside = 0;
    for (int k = 0; k < 400; ++k) {
        const cpVect p = cpBodyGetPosition(balls[k]);
        if (!(fabs(p.x) < 2.0 && p.y > 0.05)) ++outside;
    }
    printf("Chipmunk 7 (%d iterations): %.0f steps/s, %d balls outside the box\n", iterations, steps / seconds, outside);
    return 0;
}
