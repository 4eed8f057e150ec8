// The 400-ball pile of the box400 benchmark in Box2D 2.4: balls of radius
// 0.1 and density 7800, restitution 0.5, dropped in the same rows into a
// box of a floor and two walls, settled for 3 s, then timed for a number of
// steps of 0.001 s on one core (processor time). Sleeping is off: the pile
// of the simulator never sleeps either.
#include <box2d/box2d.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <initializer_list>

int main(int argc, char** argv) {
    const int velocityIterations = argc > 1 ? std::atoi(argv[1]) : 8;
    const int positionIterations = argc > 2 ? std::atoi(argv[2]) : 3;
    const int steps = argc > 3 ? std::atoi(argv[3]) : 5000;
    b2World world(b2Vec2(0, -9.81f));
    world.SetAllowSleeping(false);
    b2BodyDef fixedDef;
    b2Body* fixed = world.CreateBody(&fixedDef);
    b2PolygonShape bar;
    bar.SetAsBox(2.2f, 0.05f, b2Vec2(0, 0), 0);
    fixed->CreateFixture(&bar, 0)->SetRestitution(0.5f);
    for (const float x : {-2.05f, 2.05f}) {
        bar.SetAsBox(0.05f, 5.05f, b2Vec2(x, 4.95f), 0);
        fixed->CreateFixture(&bar, 0)->SetRestitution(0.5f);
    }
    b2CircleShape circle;
    circle.m_radius = 0.1f;
    b2FixtureDef ballFixture;
    ballFixture.shape = &circle;
    ballFixture.density = 7800;
    ballFixture.restitution = 0.5f;
    ballFixture.friction = 0.5f;
    b2Body* balls[400];
    for (int k = 0; k < 400; ++k) {
        b2BodyDef def;
        def.type = b2_dynamicBody;
        def.position.Set(-1.9f + (k % 19) * 0.205f + (k / 19 % 2) * 0.05f, 0.16f + (k / 19) * 0.205f);
        balls[k] = world.CreateBody(&def);
        balls[k]->CreateFixture(&ballFixture);
    }
    for (int k = 0; k < 3000; ++k) world.Step(0.001f, velocityIterations, positionIterations);
    const std::clock_t start = std::clock();
    for (int k = 0; k < steps; ++k) world.Step(0.001f, velocityIterations, positionIterations);
    const double seconds = static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC;
    int outside = 0;
    for (b2Body* b : balls) {
        const b2Vec2 p = b->GetPosition();
        if (!(std::fabs(p.x) < 2.0f && p.y > 0.05f)) ++outside;
    }
    std::printf("Box2D 2.4 (%d velocity / %d position iterations): %.0f steps/s, %d balls outside the box\n",
                velocityIterations, positionIterations, steps / seconds, outside);
}
